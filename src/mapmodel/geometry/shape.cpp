#include "mapmodel/geometry/shape.h"
#include "com/boundary.h"
#include "mapmodel/geometry/path.h"
#include "mapmodel/support.h"
#include <algorithm>

namespace mapmodel {

Bounds Bounds::of(double x0, double y0, double x1, double y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), false};
}

void Bounds::add(Vec p) {
    if (empty) {
        *this = {p.x, p.y, p.x, p.y, false};
        return;
    }
    xmin = std::min(xmin, p.x);
    ymin = std::min(ymin, p.y);
    xmax = std::max(xmax, p.x);
    ymax = std::max(ymax, p.y);
}

void Bounds::add(const Bounds& b) {
    if (b.empty) return;
    add(Vec{b.xmin, b.ymin});
    add(Vec{b.xmax, b.ymax});
}

Bounds Shape::bounds() const {
    Bounds b;
    for (Vec p : points) b.add(p);
    return b;
}

namespace {
Vec point_of(IPoint* p) {
    Vec v;
    com::check(p->get_X(&v.x));
    com::check(p->get_Y(&v.y));
    return v;
}

bool is_empty(IGeometry* g) {
    VARIANT_BOOL e = VARIANT_FALSE;
    com::check(g->get_IsEmpty(&e));
    return com::is_true(e);
}

template <class List>
void read_points(List* list, Shape& s) {
    long n = 0;
    com::check(list->get_PointCount(&n));
    s.points.reserve(size_t(std::max(n, 0L)));
    for (long i = 0; i < n; ++i) {
        Vec v;
        com::check(list->GetPoint(i, &v.x, &v.y));
        s.points.push_back(v);
    }
}

// A polygon's or polyline's points and parts. Part starts that are out of order or out of range
// (a host's shape could answer them) are left out: no part is ever read past the points.
template <class Path>
void read_path(IGeometry* g, Shape& s) {
    auto path = com::ComPtr<IGeometry>(g).as<Path>();
    read_points(path.get(), s);
    long parts = 0;
    com::check(path->get_PartCount(&parts));
    for (long i = 1; i < parts; ++i) {
        long start = 0;
        com::check(path->get_PartStart(i, &start));
        size_t last = s.part_starts.empty() ? 0 : s.part_starts.back();
        if (start > 0 && size_t(start) > last && size_t(start) < s.points.size()) s.part_starts.push_back(size_t(start));
    }
}
}  // namespace

Shape read_shape(IGeometry* geometry) {
    if (auto own = own_shape(geometry)) return std::move(*own);
    Shape s;
    if (!geometry) return s;
    com::check(geometry->get_GeometryType(&s.type));
    if (is_empty(geometry)) return s;
    com::ComPtr<IGeometry> g(geometry);
    switch (s.type) {
    case GeometryPoint:
        s.points.push_back(point_of(g.as<IPoint>().get()));
        break;
    case GeometryEnvelope: {
        auto e = g.as<IEnvelope>();
        double x0, y0, x1, y1;
        com::check(e->get_XMin(&x0));
        com::check(e->get_YMin(&y0));
        com::check(e->get_XMax(&x1));
        com::check(e->get_YMax(&y1));
        s.points = {{x0, y0}, {x1, y1}};
        break;
    }
    case GeometryLine: {
        auto seg = g.as<ISegment>();
        com::ComPtr<IPoint> from, to;
        com::check(seg->get_FromPoint(from.put()));
        com::check(seg->get_ToPoint(to.put()));
        if (from && to) s.points = {point_of(from.get()), point_of(to.get())};
        break;
    }
    case GeometryMultipoint:
        read_points(g.as<IMultipoint>().get(), s);
        break;
    case GeometryPolyline:
        read_path<IPolyline>(geometry, s);
        break;
    case GeometryPolygon:
        read_path<IPolygon>(geometry, s);
        break;
    default:
        break;  // a kind we cannot draw: no points
    }
    return s;
}

void write_ring(IPolygon* polygon, const std::vector<Vec>& ring) {
    required(polygon, L"The boundary polygon");
    com::check(polygon->SetEmpty());
    for (Vec p : ring) com::check(polygon->AddPoint(p.x, p.y));
}

}  // namespace mapmodel
