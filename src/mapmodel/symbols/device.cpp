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

bool is_area(const Shape& s) { return s.type == GeometryPolygon || s.type == GeometryEnvelope; }
bool is_path(const Shape& s) { return s.type == GeometryLine || s.type == GeometryPolyline; }

Vec anchor_of(const Shape& s) {
    if (s.type == GeometryPoint && !s.empty()) return s.points.front();
    return s.bounds().centre();
}

PixelBox box_of(const std::vector<POINT>& points) {
    PixelBox b;
    for (POINT p : points) b.add({p.x, p.y, p.x + 1, p.y + 1});
    return b;
}

}  // namespace mapmodel
