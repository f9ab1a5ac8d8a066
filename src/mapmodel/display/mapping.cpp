#include "mapmodel/display/mapping.h"
#include "com/ptr.h"
#include "mapmodel/geometry/envelope.h"
#include "mapmodel/support.h"

namespace mapmodel {

Mapping Mapping::identity(double dpi) {
    Mapping m;
    m.dpi_ = dpi > 0 ? dpi : 96.0;
    return m;
}

Mapping Mapping::between(const Bounds& world, const DeviceFrame& frame, double dpi) {
    if (world.empty || world.width() <= 0 || world.height() <= 0)
        com::raise(E_INVALIDARG, L"The transformation's visible bounds are empty");
    if (frame.empty()) com::raise(E_INVALIDARG, L"The transformation's device frame is empty");
    Mapping m = identity(dpi);
    m.ox_ = double(frame.left);
    m.oy_ = double(frame.top);
    m.wx_ = world.xmin;
    m.wy_ = world.ymax;
    m.sx_ = double(frame.right - frame.left) / world.width();
    m.sy_ = double(frame.bottom - frame.top) / world.height();
    m.flip_ = true;
    return m;
}

Vec Mapping::to_world(Vec d) const {
    double y = (d.y - oy_) / sy_;
    return {wx_ + (d.x - ox_) / sx_, flip_ ? wy_ - y : wy_ + y};
}

double resolution_of(HDC dc) {
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    return dpi > 0 ? double(dpi) : 96.0;
}

Mapping Mapping::of(ITransformation* transformation, HDC dc) {
    if (!transformation) return identity(resolution_of(dc));
    double dpi = 0;
    com::check(transformation->get_Resolution(&dpi));
    auto display = com::ComPtr<ITransformation>(transformation).query<IDisplayTransformation>();
    if (!display) return identity(dpi > 0 ? dpi : resolution_of(dc));
    com::ComPtr<IEnvelope> visible, bounds;
    com::check(display->get_VisibleBounds(visible.put()));
    Bounds world = bounds_of(visible.get());
    if (world.empty) {
        com::check(display->get_Bounds(bounds.put()));
        world = bounds_of(bounds.get());
    }
    DeviceFrame f;
    com::check(display->GetDeviceFrame(&f.left, &f.top, &f.right, &f.bottom));
    return between(world, f, dpi > 0 ? dpi : resolution_of(dc));
}

}  // namespace mapmodel
