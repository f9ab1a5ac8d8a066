// Point: empty until it is given coordinates.
#pragma once
#include <optional>
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/geometry/geometry_base.h"

namespace mapmodel {

class Point final : public com::ComObject<Point, GeometryBase<Point, IPoint>, Cloneable<Point>, com::SupportErrorInfo> {
public:
    Point() = default;
    explicit Point(std::optional<Vec> at) : at_(at) {}

    void* query_more(REFIID riid) noexcept { return geometry_interface(riid); }
    GeometryType geometry_type() const { return GeometryPoint; }
    Bounds bounds() const;
    void set_empty() { at_.reset(); }
    com::ComPtr<Point> duplicate() const { return Point::create(at_); }

    STDMETHODIMP get_X(double* v) override;
    STDMETHODIMP put_X(double v) override;
    STDMETHODIMP get_Y(double* v) override;
    STDMETHODIMP put_Y(double v) override;
    STDMETHODIMP PutCoords(double x, double y) override;

private:
    std::optional<Vec> at_;
};

// A new point object at (x, y).
com::ComPtr<IPoint> make_point(Vec at);

}  // namespace mapmodel
