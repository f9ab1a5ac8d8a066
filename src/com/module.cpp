#include "com/module.h"
#include "com/object.h"
#include <string>

namespace com {

namespace {
LONG g_objects = 0;
LONG g_locks = 0;
}  // namespace

void Module::object_created() noexcept { InterlockedIncrement(&g_objects); }
void Module::object_destroyed() noexcept { InterlockedDecrement(&g_objects); }
void Module::lock(bool on) noexcept { on ? InterlockedIncrement(&g_locks) : InterlockedDecrement(&g_locks); }
LONG Module::live_objects() noexcept { return g_objects; }
LONG Module::locks() noexcept { return g_locks; }

HMODULE Module::handle() noexcept {
    static HMODULE h = [] {
        HMODULE m = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&Module::handle), &m);
        return m;
    }();
    return h;
}

std::wstring_view Module::path() {
    static std::wstring p = [] {
        std::wstring s(MAX_PATH, L'\0');
        for (;;) {
            DWORD n = GetModuleFileNameW(handle(), s.data(), DWORD(s.size()));
            if (n < s.size()) { s.resize(n); return s; }
            s.resize(s.size() * 2);
        }
    }();
    return p;
}

namespace {
class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(CreateFn create) : create_(create) {}
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(riid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        Module::lock(lock != FALSE);
        return S_OK;
    }

private:
    CreateFn create_;
};
}  // namespace

HRESULT make_class_factory(CreateFn create, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ClassFactory::create(create)->QueryInterface(riid, out);
}

}  // namespace com
