#include "mapmodel/renderers/raster_classify_renderer.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IRasterClassifyRenderer);
}

STDMETHODIMP RasterClassifyRenderer::get_Field(BSTR* name) { return boundary(kIid, [&] { give_text(name, field_); }); }
STDMETHODIMP RasterClassifyRenderer::put_Field(BSTR name) { return boundary(kIid, [&] { field_ = com::view(name); }); }
STDMETHODIMP RasterClassifyRenderer::get_ClassCount(long* n) { return boundary(kIid, [&] { out(n) = classes_.count(); }); }
STDMETHODIMP RasterClassifyRenderer::put_ClassCount(long n) { return boundary(kIid, [&] { classes_.resize(n); }); }
STDMETHODIMP RasterClassifyRenderer::get_Break(long index, double* v) {
    return boundary(kIid, [&] { out(v) = classes_.at(index).upper; });
}
STDMETHODIMP RasterClassifyRenderer::put_Break(long index, double v) {
    return boundary(kIid, [&] { classes_.at(index).upper = finite(v, L"A break"); });
}
STDMETHODIMP RasterClassifyRenderer::get_Label(long index, BSTR* label) {
    return boundary(kIid, [&] { give_text(label, classes_.at(index).label); });
}
STDMETHODIMP RasterClassifyRenderer::put_Label(long index, BSTR label) {
    return boundary(kIid, [&] { classes_.at(index).label = com::view(label); });
}
STDMETHODIMP RasterClassifyRenderer::get_Symbol(long index, ISymbol** s) {
    return boundary(kIid, [&] { give(s, classes_.at(index).symbol); });
}
STDMETHODIMP RasterClassifyRenderer::putref_Symbol(long index, ISymbol* s) {
    return boundary(kIid, [&] { classes_.at(index).symbol = s; });
}

}  // namespace mapmodel
