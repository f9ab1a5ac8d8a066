// IDispatch driven by the type library: Dispatch<I> implements the four IDispatch methods of a
// dual interface I through I's type info (names to ids, and Invoke onto the vtable). The type
// library is found among the TYPELIB resources of the binary the code runs in, else through
// its registration. SupportErrorInfo answers ISupportErrorInfo for our interfaces.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include "com/ptr.h"

namespace com {

// The type library with this id (from this binary's resources or the registry); throws.
ComPtr<ITypeLib> type_library(REFGUID libid, WORD major, WORD minor);
// The type info of an interface or class described by that library; throws.
ComPtr<ITypeInfo> type_info(REFGUID libid, WORD major, WORD minor, REFGUID guid);

// ITypeInfo::Invoke on `object` (the interface that `info` describes), with every object
// argument of an interface parameter asked for that interface first (dispatch_invoke.cpp):
// scripts pass objects by value, by reference, or in a variant by reference, and each is taken;
// an object without the interface is a type mismatch; a parameter by reference goes back to the
// caller's variable.
HRESULT invoke(ITypeInfo* info, void* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
               EXCEPINFO* excep, UINT* argerr) noexcept;

// Dispatch<I, Lib>: Lib names the type library that describes I, as
//   struct Lib { static const GUID& libid(); static constexpr WORD major = .., minor = ..; };
template <class I, class Lib>
class Dispatch : public I {
public:
    using interface_type = I;

    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (!n) return E_POINTER;
        *n = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        ITypeInfo* ti = info();
        if (!ti) return TYPE_E_ELEMENTNOTFOUND;
        *out = ComPtr<ITypeInfo>(ti).detach();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ITypeInfo* ti = info();
        if (!ti) return TYPE_E_ELEMENTNOTFOUND;
        return DispGetIDsOfNames(ti, names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argerr) override {
        ITypeInfo* ti = info();
        if (!ti) return TYPE_E_ELEMENTNOTFOUND;
        // Wine's and Windows' ITypeInfo::Invoke fill EXCEPINFO from the method's IErrorInfo.
        return com::invoke(ti, static_cast<I*>(this), id, flags, params, result, excep, argerr);
    }

private:
    static ITypeInfo* info() noexcept {
        static ITypeInfo* cached = [] () -> ITypeInfo* {
            try {
                return type_info(Lib::libid(), Lib::major, Lib::minor, __uuidof(I)).detach();
            } catch (...) {
                return nullptr;
            }
        }();
        return cached;
    }
};

// ISupportErrorInfo that answers yes for every interface of ours.
class SupportErrorInfo : public ISupportErrorInfo {
public:
    using interface_type = ISupportErrorInfo;
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }
};

}  // namespace com
