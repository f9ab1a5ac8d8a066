// Polygon (closed rings), polyline (open paths) and multipoint (points): a list of points. A
// polygon's or polyline's points are divided into parts: StartPart makes the next point added
// begin a new one. A ring is closed implicitly (its first point is not repeated). All are empty
// when created.
#pragma once
#include <optional>
#include <utility>
#include <vector>
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/geometry/geometry_base.h"

namespace mapmodel {

// Answered only by our own point-list shapes of this geometry type, each with itself: the way from
// an interface back to the object, so that drawing copies a shape's points at once rather than
// with one call per point (see own_shape).
constexpr GUID itself_iid(GeometryType type) {
    return {0x6d2f41b8u + unsigned(type), 0x93c5, 0x4e0a, {0xb1, 0x7e, 0x25, 0xc8, 0x4a, 0x90, 0x3d, 0x61}};
}

// The point-list members that every one of these shapes has, over Self's points().
template <class Self, class I>
class PointListBase : public GeometryBase<Self, I> {
public:
    STDMETHODIMP AddPoint(double x, double y) override {
        return boundary(__uuidof(I), [&] { self().add_point({finite(x, L"X"), finite(y, L"Y")}); });
    }
    STDMETHODIMP get_PointCount(long* n) override {
        return boundary(__uuidof(I), [&] { out(n) = long(self().points().size()); });
    }
    STDMETHODIMP GetPoint(long index, double* x, double* y) override {
        return boundary(__uuidof(I), [&] {
            check_index(index, self().points().size(), L"the point list");
            out(x) = self().points()[size_t(index)].x;
            out(y) = self().points()[size_t(index)].y;
        });
    }
    Bounds bounds() const {
        Bounds b;
        for (Vec p : self().points()) b.add(p);
        return b;
    }

private:
    Self& self() { return *static_cast<Self*>(this); }
    const Self& self() const { return *static_cast<const Self*>(this); }
};

// A polygon or a polyline: points in parts.
template <class I, GeometryType Type>
class Path final : public com::ComObject<Path<I, Type>, PointListBase<Path<I, Type>, I>, Cloneable<Path<I, Type>>,
                                         com::SupportErrorInfo> {
public:
    Path() = default;
    // `part_starts`: the first point of every part after the first, ascending.
    explicit Path(std::vector<Vec> points, std::vector<size_t> part_starts = {})
        : points_(std::move(points)), starts_(std::move(part_starts)) {}
    void* query_more(REFIID riid) noexcept {
        return riid == itself_iid(Type) ? static_cast<Path*>(this) : this->geometry_interface(riid);
    }
    com::ComPtr<Path> duplicate() const { return Path::create(points_, starts_); }

    GeometryType geometry_type() const { return Type; }
    void set_empty() {
        points_.clear();
        starts_.clear();
        new_part_ = false;
    }
    const std::vector<Vec>& points() const { return points_; }
    const std::vector<size_t>& part_starts() const { return starts_; }
    void add_point(Vec p) {
        if (new_part_ && !points_.empty()) starts_.push_back(points_.size());
        new_part_ = false;
        points_.push_back(p);
    }

    STDMETHODIMP StartPart() override {
        return boundary(__uuidof(I), [&] { new_part_ = true; });
    }
    STDMETHODIMP get_PartCount(long* n) override {
        return boundary(__uuidof(I), [&] { out(n) = points_.empty() ? 0 : long(starts_.size() + 1); });
    }
    STDMETHODIMP get_PartStart(long part, long* point) override {
        return boundary(__uuidof(I), [&] {
            check_index(part, points_.empty() ? 0 : starts_.size() + 1, L"the list of parts");
            out(point) = part == 0 ? 0 : long(starts_[size_t(part - 1)]);
        });
    }

private:
    std::vector<Vec> points_;
    std::vector<size_t> starts_;
    bool new_part_ = false;  // the next point added begins a part
};

using Polygon = Path<IPolygon, GeometryPolygon>;
using Polyline = Path<IPolyline, GeometryPolyline>;

class Multipoint final : public com::ComObject<Multipoint, PointListBase<Multipoint, IMultipoint>,
                                               Cloneable<Multipoint>, com::SupportErrorInfo> {
public:
    Multipoint() = default;
    explicit Multipoint(std::vector<Vec> points) : points_(std::move(points)) {}
    void* query_more(REFIID riid) noexcept {
        return riid == itself_iid(GeometryMultipoint) ? static_cast<Multipoint*>(this) : geometry_interface(riid);
    }
    com::ComPtr<Multipoint> duplicate() const { return Multipoint::create(points_); }

    GeometryType geometry_type() const { return GeometryMultipoint; }
    void set_empty() { points_.clear(); }
    const std::vector<Vec>& points() const { return points_; }
    void add_point(Vec p) { points_.push_back(p); }

private:
    std::vector<Vec> points_;
};

// The shape of one of these objects, copied at once, or nullopt for a geometry of any other kind
// (a host's too).
std::optional<Shape> own_shape(IGeometry* geometry);

}  // namespace mapmodel
