// Device-side helpers for symbols: pixel rectangles and shapes turned into device points.
#pragma once
#include <windows.h>
#include <vector>
#include "mapmodel/display/mapping.h"
#include "mapmodel/geometry/shape.h"

namespace mapmodel {

// A rectangle of whole pixels, [left, right) x [top, bottom).
struct PixelBox {
    long left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    long width() const { return right - left; }
    long height() const { return bottom - top; }
    PixelBox grown(long by) const { return {left - by, top - by, right + by, bottom + by}; }
    void add(const PixelBox& b);
};

// A device coordinate to its pixel: to nearest, halves up.
long pixel(double v);
POINT device_point(const Mapping& m, Vec w);
// The points of a shape on the device: a polygon's rings, an envelope's four corners (as a
// ring), a line's or polyline's paths, a point or a multipoint's points.
std::vector<POINT> device_points(const Mapping& m, const Shape& s);
// The same points with the number of points of each part, as PolyPolygon and PolyPolyline take
// them. Parts of fewer than `least` points are left out.
struct DeviceParts {
    std::vector<POINT> points;
    std::vector<INT> sizes;
    std::vector<DWORD> line_sizes() const { return {sizes.begin(), sizes.end()}; }
};
DeviceParts device_parts(const Mapping& m, const Shape& s, size_t least);
// Whether the shape is an area (polygon or envelope), a path (line or polyline) or a point.
bool is_area(const Shape& s);
bool is_path(const Shape& s);
// The points a point-like symbol is drawn at: the point itself, every point of a multipoint,
// else the centre of the shape (none for an empty shape).
std::vector<Vec> anchors_of(const Shape& s);
// The pixels covered by the points, one past the largest.
PixelBox box_of(const std::vector<POINT>& points);

}  // namespace mapmodel
