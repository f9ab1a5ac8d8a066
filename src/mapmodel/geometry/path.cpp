#include "mapmodel/geometry/path.h"

namespace mapmodel {

namespace {
template <class T>
com::ComPtr<T> itself(IGeometry* g, GeometryType type) noexcept {
    void* p = nullptr;
    if (FAILED(g->QueryInterface(itself_iid(type), &p)) || !p) return nullptr;
    return com::ComPtr<T>::attach(static_cast<T*>(p));
}
}  // namespace

std::optional<Shape> own_shape(IGeometry* g) {
    if (!g) return std::nullopt;
    if (auto p = itself<Polygon>(g, GeometryPolygon)) return Shape{GeometryPolygon, p->points(), p->part_starts()};
    if (auto p = itself<Polyline>(g, GeometryPolyline)) return Shape{GeometryPolyline, p->points(), p->part_starts()};
    if (auto p = itself<Multipoint>(g, GeometryMultipoint)) return Shape{GeometryMultipoint, p->points(), {}};
    return std::nullopt;
}

}  // namespace mapmodel
