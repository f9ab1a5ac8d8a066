#include "mapmodel/renderers/class_breaks_renderer.h"

namespace mapmodel {

STDMETHODIMP ClassBreaksRenderer::get_MinimumBreak(double* v) { return boundary(kIid, [&] { out(v) = minimum_; }); }
STDMETHODIMP ClassBreaksRenderer::put_MinimumBreak(double v) {
    return boundary(kIid, [&] { minimum_ = finite(v, L"The minimum break"); });
}

}  // namespace mapmodel
