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
        if (FAILED(CoGetApartmentType(&type, &qualifier))) {
            for (Entry& e : entries_) e.factory.detach();  // COM ended: leave them
        }
    }

    IClassFactory* find(REFCLSID clsid) {
        for (const Entry& e : entries_)
            if (e.clsid == clsid) return e.factory.get();
        entries_.reserve(entries_.size() + 1);
        ComPtr<IClassFactory> factory;
        check(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put_void()));
        if (!factory) raise(CTL_E_OBJECTNOTSET, L"The class has no class object");
        entries_.push_back({clsid, factory});
        return factory.get();
    }

private:
    struct Entry {
        CLSID clsid;
        ComPtr<IClassFactory> factory;
    };
    std::vector<Entry> entries_;
};

thread_local ClassObjects class_objects;
}  // namespace

IClassFactory* class_object(REFCLSID clsid) { return class_objects.find(clsid); }

}  // namespace com
