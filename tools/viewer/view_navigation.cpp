#include "view_navigation.h"
#include <algorithm>
#include <cmath>

namespace viewer {

namespace {

// Map units per pixel of the fitted extent.
double unit_per_pixel(const Extent& shown, SIZE window) { return (shown.xmax - shown.xmin) / window.cx; }

// Whether the view can show an extent: finite, with a width and a height that the coordinates'
// precision still tells apart (zooming in and out without end stops there).
bool usable(const Extent& e) {
    const double values[] = {e.xmin, e.ymin, e.xmax, e.ymax};
    double magnitude = 1;
    for (double v : values) {
        if (!std::isfinite(v)) return false;
        magnitude = std::max(magnitude, std::abs(v));
    }
    const double least = magnitude * 1e-9;
    return e.xmax - e.xmin > least && e.ymax - e.ymin > least && std::isfinite(e.xmax - e.xmin) &&
           std::isfinite(e.ymax - e.ymin);
}

}  // namespace

Extent fitted(const Extent& extent, SIZE window) {
    if (window.cx <= 0 || window.cy <= 0) return extent;
    const double w = std::max(extent.xmax - extent.xmin, 1e-9), h = std::max(extent.ymax - extent.ymin, 1e-9);
    const double u = std::max(w / window.cx, h / window.cy);
    const double cx = (extent.xmin + extent.xmax) / 2, cy = (extent.ymin + extent.ymax) / 2;
    const double hw = u * window.cx / 2, hh = u * window.cy / 2;
    return {cx - hw, cy - hh, cx + hw, cy + hh};
}

Extent zoomed(const Extent& extent, SIZE window, POINT at, double factor) {
    const Extent shown = fitted(extent, window);
    if (window.cx <= 0 || window.cy <= 0 || !(factor > 0)) return shown;
    const double u = unit_per_pixel(shown, window);
    const double x = shown.xmin + at.x * u, y = shown.ymax - at.y * u;  // stays under `at`
    const double v = u / factor;
    const double xmin = x - at.x * v, ymax = y + at.y * v;
    const Extent to{xmin, ymax - window.cy * v, xmin + window.cx * v, ymax};
    return usable(to) ? to : shown;
}

Extent panned(const Extent& extent, SIZE window, int dx, int dy) {
    const Extent shown = fitted(extent, window);
    if (window.cx <= 0 || window.cy <= 0) return shown;
    const double u = unit_per_pixel(shown, window);
    // The map follows the pointer: right and down on the screen is left and up in the map's units.
    const Extent to{shown.xmin - dx * u, shown.ymin + dy * u, shown.xmax - dx * u, shown.ymax + dy * u};
    return usable(to) ? to : shown;
}

}  // namespace viewer
