// Polygon (one closed ring) and polyline (one open path): a list of points. A polygon is
// empty when created; its ring is closed implicitly (the first point is not repeated).
#pragma once
#include <vector>
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/geometry/geometry_base.h"

namespace mapmodel {

// The members the two interfaces share, over the point list.
template <class Self, class I, GeometryType Type>
class PathBase : public GeometryBase<Self, I> {
public:
    PathBase() = default;
    explicit PathBase(std::vector<Vec> points) : points_(std::move(points)) {}

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

protected:
    std::vector<Vec> points_;
};

class Polygon final : public com::ComObject<Polygon, PathBase<Polygon, IPolygon, GeometryPolygon>,
                                            Cloneable<Polygon>, com::SupportErrorInfo> {
public:
    Polygon() = default;
    explicit Polygon(std::vector<Vec> points) { points_ = std::move(points); }
    void* query_more(REFIID riid) noexcept { return geometry_interface(riid); }
    com::ComPtr<Polygon> duplicate() const { return Polygon::create(points_); }
};

class Polyline final : public com::ComObject<Polyline, PathBase<Polyline, IPolyline, GeometryPolyline>,
                                             Cloneable<Polyline>, com::SupportErrorInfo> {
public:
    Polyline() = default;
    explicit Polyline(std::vector<Vec> points) { points_ = std::move(points); }
    void* query_more(REFIID riid) noexcept { return geometry_interface(riid); }
    com::ComPtr<Polyline> duplicate() const { return Polyline::create(points_); }
};

}  // namespace mapmodel
