#include "mapmodel/symbols/device.h"
#include <algorithm>
#include <cmath>

namespace mapmodel {

void PixelBox::add(const PixelBox& b) {
    if (b.empty()) return;
    if (empty()) {
        *this = b;
        return;
    }
    left = std::min(left, b.left);
    top = std::min(top, b.top);
    right = std::max(right, b.right);
    bottom = std::max(bottom, b.bottom);
}

long pixel(double v) { return long(std::floor(v + 0.5)); }

POINT device_point(const Mapping& m, Vec w) {
    Vec d = m.to_device(w);
    return {pixel(d.x), pixel(d.y)};
}

std::vector<POINT> device_points(const Mapping& m, const Shape& s) {
    std::vector<POINT> pts;
    if (s.empty()) return pts;
    if (s.type == GeometryEnvelope) {
        Bounds b = s.bounds();
        for (Vec w : {Vec{b.xmin, b.ymin}, Vec{b.xmax, b.ymin}, Vec{b.xmax, b.ymax}, Vec{b.xmin, b.ymax}})
            pts.push_back(device_point(m, w));
        return pts;
    }
    pts.reserve(s.points.size());
    for (Vec w : s.points) pts.push_back(device_point(m, w));
    return pts;
}

DeviceParts device_parts(const Mapping& m, const Shape& s, size_t least) {
    DeviceParts d;
    if (s.type == GeometryEnvelope) {
        d.points = device_points(m, s);
        if (!d.points.empty() && d.points.size() >= least) d.sizes.push_back(INT(d.points.size()));
        return d;
    }
    d.points.reserve(s.points.size());
    for (size_t i = 0; i < s.part_count(); ++i) {
        const size_t first = s.part_begin(i), end = s.part_end(i);
        if (end - first < std::max<size_t>(least, 1)) continue;
        // A point on the same pixel as the one before adds nothing to a line or an area: a map at a
        // small scale has many of them, and each would cost the system an edge. A part that
        // shrinks below `least` so keeps all its points (it paints what it painted).
        const size_t start = d.points.size();
        for (size_t k = first; k < end; ++k) {
            const POINT p = device_point(m, s.points[k]);
            if (d.points.size() == start || p.x != d.points.back().x || p.y != d.points.back().y) d.points.push_back(p);
        }
        if (d.points.size() - start < least) {
            d.points.resize(start);
            for (size_t k = first; k < end; ++k) d.points.push_back(device_point(m, s.points[k]));
        }
        d.sizes.push_back(INT(d.points.size() - start));
    }
    return d;
}

bool is_area(const Shape& s) { return s.type == GeometryPolygon || s.type == GeometryEnvelope; }
bool is_path(const Shape& s) { return s.type == GeometryLine || s.type == GeometryPolyline; }

std::vector<Vec> anchors_of(const Shape& s) {
    if (s.empty()) return {};
    if (s.type == GeometryPoint || s.type == GeometryMultipoint) return s.points;
    return {s.bounds().centre()};
}

PixelBox box_of(const std::vector<POINT>& points) {
    PixelBox b;
    for (POINT p : points) b.add({p.x, p.y, p.x + 1, p.y + 1});
    return b;
}

}  // namespace mapmodel
