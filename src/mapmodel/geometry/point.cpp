#include "mapmodel/geometry/point.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IPoint);
}

com::ComPtr<IPoint> make_point(Vec at) { return Point::create(at).as<IPoint>(); }

Bounds Point::bounds() const {
    Bounds b;
    if (at_) b.add(*at_);
    return b;
}

// An empty point reads 0, 0; giving it one coordinate makes the other 0.
STDMETHODIMP Point::get_X(double* v) { return boundary(kIid, [&] { out(v) = at_ ? at_->x : 0.0; }); }
STDMETHODIMP Point::get_Y(double* v) { return boundary(kIid, [&] { out(v) = at_ ? at_->y : 0.0; }); }

STDMETHODIMP Point::put_X(double v) {
    return boundary(kIid, [&] {
        finite(v, L"X");
        if (!at_) at_ = Vec{};
        at_->x = v;
    });
}

STDMETHODIMP Point::put_Y(double v) {
    return boundary(kIid, [&] {
        finite(v, L"Y");
        if (!at_) at_ = Vec{};
        at_->y = v;
    });
}

STDMETHODIMP Point::PutCoords(double x, double y) {
    return boundary(kIid, [&] { at_ = Vec{finite(x, L"X"), finite(y, L"Y")}; });
}

}  // namespace mapmodel
