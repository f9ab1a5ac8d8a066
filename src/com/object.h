// ComObject: IUnknown for our classes. A class derives from ComObject<Self, I1, I2, ...>; each
// listed interface answers QueryInterface, as do IUnknown and IDispatch (through the first
// listed interface when it derives from it). Further interfaces (for example the bases of a
// listed interface) answer through the class's own `query_more`. Every live object is counted
// by the module, so DllCanUnloadNow and leak tests see it.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <oaidl.h>
#include <type_traits>
#include <utility>
#include "com/boundary.h"
#include "com/module.h"
#include "com/ptr.h"

namespace com {

// The IID a listed base answers to: its own, or that of the interface a wrapper implements
// (a wrapper such as Dispatch<I> names it as `interface_type`).
template <class T>
constexpr const GUID& iid_of() {
    if constexpr (requires { typename T::interface_type; }) return __uuidof(typename T::interface_type);
    else return __uuidof(T);
}

template <class Self, class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    ComObject() noexcept { Module::object_created(); }
    virtual ~ComObject() { Module::object_destroyed(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (riid == IID_IUnknown) {
            *out = static_cast<First*>(this);
        } else if (riid == IID_IDispatch) {
            if constexpr (std::is_base_of_v<IDispatch, First>) *out = static_cast<First*>(this);
        } else {
            find<First, Rest...>(riid, out);
            if (!*out) *out = static_cast<Self*>(this)->query_more(riid);
        }
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete static_cast<Self*>(this);
        return ULONG(n);
    }

    // Creates an object and answers the owner of its first reference.
    template <class... Args>
    static ComPtr<Self> create(Args&&... args) {
        Self* p = new Self(std::forward<Args>(args)...);
        p->AddRef();
        return ComPtr<Self>::attach(p);
    }
    // Creates an object and answers the interface riid of it (for class factories). A failure
    // while the object is made (a missing resource, a window that could not be created, memory)
    // is answered with its own status and described in the thread's error info.
    static HRESULT create_for(REFIID riid, void** out) noexcept {
        if (!out) return E_POINTER;
        *out = nullptr;
        try {
            return create()->QueryInterface(riid, out);
        } catch (...) {
            return publish_current_exception(IID_IClassFactory);
        }
    }

    IUnknown* unknown() noexcept { return static_cast<First*>(this); }

protected:
    // Extra interfaces (for example bases of a listed interface); the default answers none.
    void* query_more(REFIID) noexcept { return nullptr; }
    ULONG ref_count() const noexcept { return ULONG(refs_); }

private:
    template <class I, class... More>
    void find(REFIID riid, void** out) {
        if (riid == iid_of<I>()) { *out = static_cast<I*>(this); return; }
        if constexpr (sizeof...(More) > 0) find<More...>(riid, out);
    }
    LONG refs_ = 0;
};

// Our own object behind an interface pointer: a class answers a private interface id with itself
// (in its query_more), which tells its objects from other implementations of the same interfaces
// without trusting the caller's pointer. Null for any other object.
template <class T>
ComPtr<T> self_of(IUnknown* object, REFIID self_iid) noexcept {
    void* self = nullptr;
    if (!object || FAILED(object->QueryInterface(self_iid, &self)) || !self) return nullptr;
    return ComPtr<T>::attach(static_cast<T*>(self));
}

}  // namespace com
