// Polygon (one closed ring) and polyline (one open path): a list of points. A polygon is
// empty when created; its ring is closed implicitly (the first point is not repeated).
#pragma once
#include <vector>
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/geometry/geometry_base.h"

namespace mapmodel {

// Either shape, over its point list.
template <class I, GeometryType Type>
class Path final
    : public com::ComObject<Path<I, Type>, GeometryBase<Path<I, Type>, I>, Cloneable<Path<I, Type>>, com::SupportErrorInfo> {
public:
    Path() = default;
    explicit Path(std::vector<Vec> points) : points_(std::move(points)) {}
    void* query_more(REFIID riid) noexcept { return this->geometry_interface(riid); }
    com::ComPtr<Path> duplicate() const { return Path::create(points_); }

    GeometryType geometry_type() const { return Type; }
    Bounds bounds() const {
        Bounds b;
        for (Vec p : points_) b.add(p);
        return b;
    }
    void set_empty() { points_.clear(); }
    const std::vector<Vec>& points() const { return points_; }

    STDMETHODIMP AddPoint(double x, double y) override {
        return boundary(__uuidof(I), [&] { points_.push_back({finite(x, L"X"), finite(y, L"Y")}); });
    }
    STDMETHODIMP get_PointCount(long* n) override {
        return boundary(__uuidof(I), [&] { out(n) = long(points_.size()); });
    }
    STDMETHODIMP GetPoint(long index, double* x, double* y) override {
        return boundary(__uuidof(I), [&] {
            check_index(index, points_.size(), L"the point list");
            out(x) = points_[size_t(index)].x;
            out(y) = points_[size_t(index)].y;
        });
    }

private:
    std::vector<Vec> points_;
};

using Polygon = Path<IPolygon, GeometryPolygon>;
using Polyline = Path<IPolyline, GeometryPolyline>;

}  // namespace mapmodel
