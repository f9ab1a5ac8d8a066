#include "mapmodel/renderers/raster_unique_value_renderer.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IRasterUniqueValueRenderer);
}

std::vector<RasterUniqueValueRenderer::Entry>& RasterUniqueValueRenderer::values_of(long cls) {
    check_index(cls, classes_.size(), L"the renderer's class list");
    return classes_[size_t(cls)].values;
}

RasterUniqueValueRenderer::Entry& RasterUniqueValueRenderer::entry(long cls, long index) {
    auto& values = values_of(cls);
    check_index(index, values.size(), L"the class's value list");
    return values[size_t(index)];
}

com::ComPtr<ISymbol> RasterUniqueValueRenderer::symbol_for(double value) const {
    for (const Class& cls : classes_)
        for (const Entry& e : cls.values)
            if (e.value == value) return e.symbol;
    return nullptr;
}

STDMETHODIMP RasterUniqueValueRenderer::get_Field(BSTR* name) { return boundary(kIid, [&] { give_text(name, field_); }); }
STDMETHODIMP RasterUniqueValueRenderer::put_Field(BSTR name) { return boundary(kIid, [&] { field_ = com::view(name); }); }
STDMETHODIMP RasterUniqueValueRenderer::get_ClassCount(long* n) {
    return boundary(kIid, [&] { out(n) = long(classes_.size()); });
}
STDMETHODIMP RasterUniqueValueRenderer::put_ClassCount(long n) {
    return boundary(kIid, [&] {
        check_count(n, kMaxClasses, L"classes");
        classes_.resize(size_t(n));
    });
}
STDMETHODIMP RasterUniqueValueRenderer::get_ValueCount(long cls, long* n) {
    return boundary(kIid, [&] { out(n) = long(values_of(cls).size()); });
}
STDMETHODIMP RasterUniqueValueRenderer::AddValue(long cls, double value, BSTR text, ISymbol* symbol) {
    return boundary(kIid, [&] {
        auto& values = values_of(cls);
        finite(value, L"The value");
        if (long(values.size()) >= kMaxClasses) com::raise(E_INVALIDARG, L"The class holds as many values as it can");
        values.push_back({value, std::wstring(com::view(text)), symbol});
    });
}
STDMETHODIMP RasterUniqueValueRenderer::get_Value(long cls, long index, double* value) {
    return boundary(kIid, [&] { out(value) = entry(cls, index).value; });
}
STDMETHODIMP RasterUniqueValueRenderer::get_Text(long cls, long index, BSTR* text) {
    return boundary(kIid, [&] { give_text(text, entry(cls, index).text); });
}
STDMETHODIMP RasterUniqueValueRenderer::put_Text(long cls, long index, BSTR text) {
    return boundary(kIid, [&] { entry(cls, index).text = com::view(text); });
}
STDMETHODIMP RasterUniqueValueRenderer::get_Symbol(long cls, long index, ISymbol** s) {
    return boundary(kIid, [&] { give(s, entry(cls, index).symbol); });
}
STDMETHODIMP RasterUniqueValueRenderer::putref_Symbol(long cls, long index, ISymbol* s) {
    return boundary(kIid, [&] { entry(cls, index).symbol = s; });
}

}  // namespace mapmodel
