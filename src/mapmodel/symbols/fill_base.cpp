#include "mapmodel/symbols/fill_base.h"

namespace mapmodel {

com::ComPtr<ILineSymbol> default_outline() { return LineSymbol::create().as<ILineSymbol>(); }

FillSession::FillSession(HDC dc, const Mapping& m, ILineSymbol* outline) : Session(dc, m) {
    SetPolyFillMode(dc, ALTERNATE);  // holes are rings inside rings, whatever mode the DC came with
    if (!outline) return;
    Stroke s = stroke_of(outline);
    outlined_ = s.draws(m);
    if (outlined_) pen_ = s.pen(m);
}

void FillSession::draw(const Shape& shape) {
    if (!is_area(shape)) return;
    const DeviceParts rings = device_parts(mapping_, shape, 3);
    if (rings.sizes.empty()) return;
    {
        win::Selection no_pen(dc_, GetStockObject(NULL_PEN));
        fill(rings);
    }
    if (outlined_) {
        win::Selection pen(dc_, pen_.get());
        stroke_parts(dc_, rings, true);
    }
}

Estimate fill_estimate(const Mapping& m, const Shape& s, ILineSymbol* outline) {
    if (!is_area(s)) return {};
    long reach = outline ? stroke_of(outline).pixels(m) : 0;
    return box_of(device_points(m, s)).grown(reach + 2);
}

}  // namespace mapmodel
