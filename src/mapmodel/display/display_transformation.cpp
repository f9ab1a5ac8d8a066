#include "mapmodel/display/display_transformation.h"
#include "mapmodel/geometry/envelope.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IDisplayTransformation);
}

void* DisplayTransformation::query_more(REFIID riid) noexcept {
    if (riid == __uuidof(ITransformation)) return static_cast<ITransformation*>(static_cast<IDisplayTransformation*>(this));
    return nullptr;
}

Mapping DisplayTransformation::mapping() const {
    return Mapping::between(visible_.empty ? bounds_ : visible_, frame_, dpi_);
}

STDMETHODIMP DisplayTransformation::get_Resolution(double* dpi) { return boundary(kIid, [&] { out(dpi) = dpi_; }); }
STDMETHODIMP DisplayTransformation::put_Resolution(double dpi) {
    return boundary(kIid, [&] {
        if (!(finite(dpi, L"The resolution") > 0)) com::raise(E_INVALIDARG, L"The resolution must be positive");
        dpi_ = dpi;
    });
}

// Extents are kept as values: setting copies the envelope's coordinates.
STDMETHODIMP DisplayTransformation::get_Bounds(IEnvelope** e) { return boundary(kIid, [&] { give(e, make_envelope(bounds_)); }); }
STDMETHODIMP DisplayTransformation::put_Bounds(IEnvelope* e) {
    return boundary(kIid, [&] { bounds_ = bounds_of(required(e, L"The bounds")); });
}
STDMETHODIMP DisplayTransformation::get_VisibleBounds(IEnvelope** e) {
    return boundary(kIid, [&] { give(e, make_envelope(visible_)); });
}
STDMETHODIMP DisplayTransformation::put_VisibleBounds(IEnvelope* e) {
    return boundary(kIid, [&] { visible_ = bounds_of(required(e, L"The visible bounds")); });
}

STDMETHODIMP DisplayTransformation::SetDeviceFrame(long left, long top, long right, long bottom) {
    return boundary(kIid, [&] {
        if (right < left || bottom < top) com::raise(E_INVALIDARG, L"The device frame's right and bottom edges must not lie before its left and top edges");
        frame_ = {left, top, right, bottom};
    });
}

STDMETHODIMP DisplayTransformation::GetDeviceFrame(long* left, long* top, long* right, long* bottom) {
    return boundary(kIid, [&] {
        out(left) = frame_.left;
        out(top) = frame_.top;
        out(right) = frame_.right;
        out(bottom) = frame_.bottom;
    });
}

STDMETHODIMP DisplayTransformation::get_ScaleRatio(double* v) { return boundary(kIid, [&] { out(v) = scale_ratio_; }); }
STDMETHODIMP DisplayTransformation::put_ScaleRatio(double v) {
    return boundary(kIid, [&] { scale_ratio_ = finite(v, L"The scale ratio"); });
}
STDMETHODIMP DisplayTransformation::get_QualityRatio(double* v) { return boundary(kIid, [&] { out(v) = quality_ratio_; }); }
STDMETHODIMP DisplayTransformation::put_QualityRatio(double v) {
    return boundary(kIid, [&] { quality_ratio_ = finite(v, L"The quality ratio"); });
}
STDMETHODIMP DisplayTransformation::get_Units(long* v) { return boundary(kIid, [&] { out(v) = units_; }); }
STDMETHODIMP DisplayTransformation::put_Units(long v) { return boundary(kIid, [&] { units_ = v; }); }

STDMETHODIMP DisplayTransformation::ToDevice(double x, double y, double* px, double* py) {
    return boundary(kIid, [&] {
        Vec d = mapping().to_device({x, y});
        out(px) = d.x;
        out(py) = d.y;
    });
}

STDMETHODIMP DisplayTransformation::FromDevice(double px, double py, double* x, double* y) {
    return boundary(kIid, [&] {
        Vec w = mapping().to_world({px, py});
        out(x) = w.x;
        out(y) = w.y;
    });
}

}  // namespace mapmodel
