#include "com/class_objects.h"
#include <vector>

namespace com {

namespace {
class ClassObjects {
public:
    ClassObjects() = default;
    ClassObjects(const ClassObjects&) = delete;
    ClassObjects& operator=(const ClassObjects&) = delete;
    ~ClassObjects() {
        APTTYPE type;
        APTTYPEQUALIFIER qualifier;
        if (FAILED(CoGetApartmentType(&type, &qualifier))) return;  // COM ended: leave them
        for (Entry& e : entries_) e.factory->Release();
    }

    IClassFactory* find(REFCLSID clsid) {
        for (const Entry& e : entries_)
            if (e.clsid == clsid) return e.factory;
        entries_.reserve(entries_.size() + 1);
        IClassFactory* factory = nullptr;
        check(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)));
        if (!factory) raise(CTL_E_OBJECTNOTSET, L"The class has no class object");
        entries_.push_back({clsid, factory});
        return factory;
    }

private:
    struct Entry {
        CLSID clsid;
        IClassFactory* factory;
    };
    std::vector<Entry> entries_;
};

thread_local ClassObjects class_objects;
}  // namespace

IClassFactory* class_object(REFCLSID clsid) { return class_objects.find(clsid); }

}  // namespace com
