#include "kelpy/tree/fake_renderers.h"
#include <string>
#include "com/bstr.h"

namespace test {

namespace {
HRESULT give(BSTR* out, std::wstring_view text) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), UINT(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT give_nothing(ISymbol** s) {
    if (!s) return E_POINTER;
    *s = nullptr;
    return S_OK;
}

HRESULT give_count(LONG* n, LONG count) {
    if (!n) return E_POINTER;
    *n = count;
    return S_OK;
}
}  // namespace

STDMETHODIMP UnknownFeatureRenderer::get_Description(BSTR* text) { return give(text, L"Unknown"); }
STDMETHODIMP UnknownRasterRenderer::get_Description(BSTR* text) { return give(text, L"Unknown"); }

STDMETHODIMP ManyValuesRenderer::get_Description(BSTR* text) { return give(text, L"Many values"); }
STDMETHODIMP ManyValuesRenderer::get_FieldCount(LONG* n) { return give_count(n, 1); }
STDMETHODIMP ManyValuesRenderer::get_Field(LONG, BSTR* name) { return give(name, L"CODE"); }
STDMETHODIMP ManyValuesRenderer::get_ValueCount(LONG* n) { return give_count(n, count_); }
STDMETHODIMP ManyValuesRenderer::get_Value(LONG index, BSTR* value) {
    return give(value, L"v" + std::to_wstring(index));
}
STDMETHODIMP ManyValuesRenderer::get_Label(BSTR value, BSTR* label) {
    return give(label, L"label " + std::wstring(com::view(value)).substr(1));
}
STDMETHODIMP ManyValuesRenderer::get_Symbol(BSTR value, ISymbol** s) {
    if (com::view(value) == L"v" + std::to_wstring(failing_)) return E_FAIL;
    return give_nothing(s);
}
STDMETHODIMP ManyValuesRenderer::get_DefaultSymbol(ISymbol** s) { return give_nothing(s); }

STDMETHODIMP ManyClassesRasterRenderer::get_Description(BSTR* text) { return give(text, L"Many classes"); }
STDMETHODIMP ManyClassesRasterRenderer::get_Field(BSTR* name) { return give(name, L"VALUE"); }
STDMETHODIMP ManyClassesRasterRenderer::get_ClassCount(LONG* n) { return give_count(n, count_); }
STDMETHODIMP ManyClassesRasterRenderer::get_Label(LONG index, BSTR* label) {
    return give(label, L"class " + std::to_wstring(index));
}
STDMETHODIMP ManyClassesRasterRenderer::get_Symbol(LONG, ISymbol** s) { return give_nothing(s); }

}  // namespace test
