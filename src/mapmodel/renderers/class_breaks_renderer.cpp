#include "mapmodel/renderers/class_breaks_renderer.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IClassBreaksRenderer);
}

STDMETHODIMP ClassBreaksRenderer::get_Field(BSTR* name) { return boundary(kIid, [&] { give_text(name, field_); }); }
STDMETHODIMP ClassBreaksRenderer::put_Field(BSTR name) { return boundary(kIid, [&] { field_ = com::view(name); }); }
STDMETHODIMP ClassBreaksRenderer::get_BreakCount(long* n) { return boundary(kIid, [&] { out(n) = classes_.count(); }); }
STDMETHODIMP ClassBreaksRenderer::put_BreakCount(long n) { return boundary(kIid, [&] { classes_.resize(n); }); }
STDMETHODIMP ClassBreaksRenderer::get_Break(long index, double* v) {
    return boundary(kIid, [&] { out(v) = classes_.at(index).upper; });
}
STDMETHODIMP ClassBreaksRenderer::put_Break(long index, double v) {
    return boundary(kIid, [&] { classes_.at(index).upper = finite(v, L"A break"); });
}
STDMETHODIMP ClassBreaksRenderer::get_Label(long index, BSTR* label) {
    return boundary(kIid, [&] { give_text(label, classes_.at(index).label); });
}
STDMETHODIMP ClassBreaksRenderer::put_Label(long index, BSTR label) {
    return boundary(kIid, [&] { classes_.at(index).label = com::view(label); });
}
STDMETHODIMP ClassBreaksRenderer::get_Symbol(long index, ISymbol** s) {
    return boundary(kIid, [&] { give(s, classes_.at(index).symbol); });
}
STDMETHODIMP ClassBreaksRenderer::putref_Symbol(long index, ISymbol* s) {
    return boundary(kIid, [&] { classes_.at(index).symbol = s; });
}
STDMETHODIMP ClassBreaksRenderer::get_MinimumBreak(double* v) { return boundary(kIid, [&] { out(v) = minimum_; }); }
STDMETHODIMP ClassBreaksRenderer::put_MinimumBreak(double v) {
    return boundary(kIid, [&] { minimum_ = finite(v, L"The minimum break"); });
}

}  // namespace mapmodel
