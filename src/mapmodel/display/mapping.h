// World to device: the linear mapping that symbols draw with. The world rectangle covers the
// device frame; the world's top edge (YMax) falls on the frame's top row, since world y grows
// upward and device y downward. Without a transformation world units are device pixels
// (no flip, no offset). Symbol sizes are given in points and drawn at one pixel per point at
// 96 dpi: pixels = points x resolution / 96.
#pragma once
#include <windows.h>
#include "mapmodel/geometry/shape.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

struct DeviceFrame {
    long left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

class Mapping {
public:
    // One world unit per pixel, device = world.
    static Mapping identity(double dpi);
    // World bounds onto a device frame; both must be non-empty.
    static Mapping between(const Bounds& world, const DeviceFrame& frame, double dpi);
    // The mapping of any transformation (ours or a host's, read through its interfaces);
    // Nothing gives the identity at the device context's resolution.
    static Mapping of(ITransformation* transformation, HDC dc);

    Vec to_device(Vec w) const { return {ox_ + (w.x - wx_) * sx_, oy_ + (flip_ ? wy_ - w.y : w.y - wy_) * sy_}; }
    Vec to_world(Vec d) const;
    // The same mapping with the device origin moved by (dx, dy) pixels.
    Mapping translated(double dx, double dy) const {
        Mapping m = *this;
        m.ox_ += dx;
        m.oy_ += dy;
        return m;
    }
    double dpi() const { return dpi_; }
    // Two mappings are equal when they map every point alike at the same resolution.
    friend bool operator==(const Mapping&, const Mapping&) = default;
    // A size in points in device pixels.
    double pixels(double points) const { return points * dpi_ / 96.0; }

private:
    double ox_ = 0, oy_ = 0;   // device origin
    double wx_ = 0, wy_ = 0;   // the world point that falls on it
    double sx_ = 1, sy_ = 1;   // pixels per world unit
    bool flip_ = false;
    double dpi_ = 96;
};

// The vertical resolution of a device context, 96 when it reports none.
double resolution_of(HDC dc);

}  // namespace mapmodel
