#include "mapmodel/renderers/feature_values.h"
#include "com/bstr.h"
#include "com/variant.h"

namespace mapmodel {

std::optional<double> value_number(const VARIANT& v) {
    if (v.vt == VT_R8) return v.dblVal;
    if (v.vt == VT_EMPTY || v.vt == VT_NULL) return std::nullopt;
    com::Variant d;
    if (FAILED(VariantChangeType(d.put(), const_cast<VARIANT*>(&v), 0, VT_R8))) return std::nullopt;
    return d.get()->dblVal;
}

std::wstring value_text(const VARIANT& v) {
    if (v.vt == VT_BSTR) return std::wstring(com::view(v.bstrVal));
    com::Variant s;
    if (FAILED(VariantChangeType(s.put(), const_cast<VARIANT*>(&v), 0, VT_BSTR))) return {};
    return std::wstring(com::view(s.get()->bstrVal));
}

}  // namespace mapmodel
