#include "mapmodel/geometry/line.h"
#include <cmath>
#include "mapmodel/geometry/point.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(ILine);

// The coordinates of a point argument; an empty point is refused.
Vec coords_of(IPoint* p, const wchar_t* what) {
    required(p, what);
    Shape s = read_shape(com::ComPtr<IPoint>(p).as<IGeometry>().get());
    if (s.empty()) com::raise(E_INVALIDARG, std::wstring(what) + L" has no coordinates");
    return s.points.front();
}

void give_point(IPoint** slot, const std::optional<Vec>& at) {
    give(slot, Point::create(at));
}
}  // namespace

void* Line::query_more(REFIID riid) noexcept {
    if (riid == __uuidof(ISegment)) return static_cast<ISegment*>(static_cast<ILine*>(this));
    return geometry_interface(riid);
}

Bounds Line::bounds() const {
    Bounds b;
    if (from_ && to_) {
        b.add(*from_);
        b.add(*to_);
    }
    return b;
}

STDMETHODIMP Line::get_FromPoint(IPoint** p) { return boundary(kIid, [&] { give_point(p, from_); }); }
STDMETHODIMP Line::get_ToPoint(IPoint** p) { return boundary(kIid, [&] { give_point(p, to_); }); }
STDMETHODIMP Line::putref_FromPoint(IPoint* p) {
    return boundary(kIid, [&] { from_ = coords_of(p, L"The start point"); });
}
STDMETHODIMP Line::putref_ToPoint(IPoint* p) {
    return boundary(kIid, [&] { to_ = coords_of(p, L"The end point"); });
}

STDMETHODIMP Line::get_Length(double* v) {
    return boundary(kIid, [&] {
        out(v) = (from_ && to_) ? std::hypot(to_->x - from_->x, to_->y - from_->y) : 0.0;
    });
}

STDMETHODIMP Line::PutCoords(IPoint* from, IPoint* to) {
    return boundary(kIid, [&] {
        Vec a = coords_of(from, L"The start point");
        Vec b = coords_of(to, L"The end point");
        from_ = a;
        to_ = b;
    });
}

}  // namespace mapmodel
