// Geometry as plain values: what drawing and measuring work on. read_shape reads any object
// with the general geometry interface (ours or a host's) through its public interfaces.
#pragma once
#include <windows.h>
#include <vector>
#include "mapmodel/typelib.h"

namespace mapmodel {

struct Vec {
    double x = 0, y = 0;
    friend bool operator==(const Vec&, const Vec&) = default;
};

// An axis-parallel rectangle that may be empty (covering nothing).
struct Bounds {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    bool empty = true;

    static Bounds of(double x0, double y0, double x1, double y1);
    void add(Vec p);
    void add(const Bounds& b);
    double width() const { return empty ? 0.0 : xmax - xmin; }
    double height() const { return empty ? 0.0 : ymax - ymin; }
    Vec centre() const { return {(xmin + xmax) / 2, (ymin + ymax) / 2}; }
};

// A shape by its geometry type: a point (one point), an envelope (two corners: min, max), a
// line (from, to), a multipoint (its points), a polyline (its paths) or a polygon (its rings,
// each not repeated at the end). The points of a polyline's or polygon's parts follow one
// another; part_starts lists where each part after the first begins. No points means empty.
struct Shape {
    GeometryType type = GeometryNull;
    std::vector<Vec> points;
    std::vector<size_t> part_starts;

    bool empty() const { return points.empty(); }
    Bounds bounds() const;
    size_t part_count() const { return points.empty() ? 0 : part_starts.size() + 1; }
    // The points [first, last) of part i.
    size_t part_begin(size_t i) const { return i == 0 ? 0 : part_starts[i - 1]; }
    size_t part_end(size_t i) const { return i < part_starts.size() ? part_starts[i] : points.size(); }
};

Shape read_shape(IGeometry* geometry);
// Replaces the points of a polygon with the ring given (for boundaries).
void write_ring(IPolygon* polygon, const std::vector<Vec>& ring);

}  // namespace mapmodel
