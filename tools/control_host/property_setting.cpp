#include "property_setting.h"
#include <oaidl.h>
#include <cwctype>
#include "com/error.h"
#include "com/ptr.h"
#include "com/variant.h"

namespace host {

namespace {
bool same_text(const std::wstring& a, const wchar_t* b) {
    return CompareStringOrdinal(a.c_str(), int(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}
}  // namespace

std::optional<PropertySetting> parse_setting(const std::wstring& text) {
    const size_t equals = text.find(L'=');
    if (equals == std::wstring::npos || equals == 0) return std::nullopt;
    for (size_t i = 0; i < equals; ++i)
        if (!std::iswalnum(text[i]) && text[i] != L'_') return std::nullopt;
    return PropertySetting{text.substr(0, equals), text.substr(equals + 1), text};
}

void put_property(IUnknown* control, const PropertySetting& setting) {
    auto dispatch = com::ComPtr<IUnknown>(control).as<IDispatch>();
    LPOLESTR name = const_cast<LPOLESTR>(setting.name.c_str());
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
        com::raise(DISP_E_UNKNOWNNAME, L"The control has no property " + setting.name + L" (--set " + setting.text + L")");
    com::Variant value = same_text(setting.value, L"true")    ? com::Variant::from_bool(true)
                         : same_text(setting.value, L"false") ? com::Variant::from_bool(false)
                                                              : com::Variant::from_string(setting.value);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{value.get(), &named, 1, 1};
    EXCEPINFO error{};
    const HRESULT hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &error, nullptr);
    const std::wstring why = error.bstrDescription ? std::wstring(error.bstrDescription) : com::describe(hr);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrHelpFile);
    if (FAILED(hr))
        com::raise(hr == DISP_E_EXCEPTION && error.scode ? error.scode : hr,
                   L"The control did not take --set " + setting.text + L": " + why);
}

}  // namespace host
