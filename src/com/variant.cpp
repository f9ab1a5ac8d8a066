#include "com/variant.h"
#include "com/bstr.h"
#include "com/ptr.h"

namespace com {

Variant Variant::from_string(std::wstring_view s) {
    Variant r;
    r.v_.bstrVal = alloc_bstr(s);
    r.v_.vt = VT_BSTR;
    return r;
}

Variant Variant::from_object(IUnknown* p) noexcept {
    Variant r;
    if (!p) { r.v_.vt = VT_DISPATCH; r.v_.pdispVal = nullptr; return r; }
    if (ComPtr<IDispatch> d = ComPtr<IUnknown>(p).query<IDispatch>()) {
        r.v_.vt = VT_DISPATCH;
        r.v_.pdispVal = d.detach();
    } else {
        r.v_.vt = VT_UNKNOWN;
        r.v_.punkVal = ComPtr<IUnknown>(p).detach();
    }
    return r;
}

static Variant changed(const VARIANT& v, VARTYPE vt) {
    Variant r;
    HRESULT hr = VariantChangeType(r.put(), const_cast<VARIANT*>(&v), 0, vt);
    if (hr == DISP_E_OVERFLOW) raise(CTL_E_OVERFLOW);
    if (FAILED(hr)) raise(CTL_E_TYPEMISMATCH);
    return r;
}

LONG Variant::to_long() const { return changed(v_, VT_I4).get()->lVal; }
double Variant::to_double() const { return changed(v_, VT_R8).get()->dblVal; }
bool Variant::to_bool() const { return changed(v_, VT_BOOL).get()->boolVal != VARIANT_FALSE; }
std::wstring Variant::to_string() const { return std::wstring(view(changed(v_, VT_BSTR).get()->bstrVal)); }

}  // namespace com
