#include "layer_extent.h"
#include <algorithm>
#include "com/error.h"
#include "com/ptr.h"

namespace viewer {

namespace {

void add(std::optional<Extent>& total, const Extent& e) {
    if (!total) {
        total = e;
        return;
    }
    total->xmin = std::min(total->xmin, e.xmin);
    total->ymin = std::min(total->ymin, e.ymin);
    total->xmax = std::max(total->xmax, e.xmax);
    total->ymax = std::max(total->ymax, e.ymax);
}

void add_layer(std::optional<Extent>& total, ILayer* layer) {
    com::ComPtr<ILayer> l(layer);
    if (auto members = l.query<ISubLayers>()) {
        LONG n = 0;
        com::check(members->get_Count(&n));
        for (LONG i = 0; i < n; ++i) {
            com::ComPtr<ILayer> member;
            com::check(members->get_Layer(i, member.put()));
            if (member) add_layer(total, member.get());
        }
    } else if (auto raster = l.query<IRasterLayer>()) {
        com::ComPtr<IEnvelope> envelope;
        com::check(raster->get_Extent(envelope.put()));
        if (auto e = extent_of(envelope.get())) add(total, *e);
    } else if (auto features = l.query<IFeatureLayer>()) {
        com::ComPtr<IFeatureClass> fc;
        com::check(features->get_FeatureClass(fc.put()));
        LONG n = 0;
        if (fc) com::check(fc->get_FeatureCount(&n));
        for (LONG i = 0; i < n; ++i) {
            com::ComPtr<IGeometry> shape;
            com::check(fc->get_Shape(i, shape.put()));
            if (!shape) continue;
            com::ComPtr<IEnvelope> envelope;
            com::check(shape->get_Envelope(envelope.put()));
            if (auto e = extent_of(envelope.get())) add(total, *e);
        }
    }
}

}  // namespace

std::optional<Extent> extent_of(IEnvelope* envelope) {
    VARIANT_BOOL empty = VARIANT_TRUE;
    if (!envelope || FAILED(envelope->get_IsEmpty(&empty)) || empty != VARIANT_FALSE) return std::nullopt;
    Extent e{};
    com::check(envelope->get_XMin(&e.xmin));
    com::check(envelope->get_YMin(&e.ymin));
    com::check(envelope->get_XMax(&e.xmax));
    com::check(envelope->get_YMax(&e.ymax));
    return e;
}

std::optional<Extent> layer_extent(ILayer* layer) {
    std::optional<Extent> total;
    if (layer) add_layer(total, layer);
    return total;
}

Extent with_margin(const Extent& e, const Extent& around) {
    double margin = std::max(e.xmax - e.xmin, e.ymax - e.ymin) / 20;
    if (margin <= 0) margin = (around.xmax - around.xmin) / 40;  // a point: a twentieth of the view, around it
    if (margin <= 0) margin = 1;
    return {e.xmin - margin, e.ymin - margin, e.xmax + margin, e.ymax + margin};
}

}  // namespace viewer
