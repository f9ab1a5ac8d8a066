#include "mapmodel/symbols/fill_base.h"

namespace mapmodel {

com::ComPtr<ILineSymbol> default_outline() { return LineSymbol::create().as<ILineSymbol>(); }

FillSession::FillSession(HDC dc, const Mapping& m, ILineSymbol* outline) : Session(dc, m) {
    if (!outline) return;
    Stroke s = stroke_of(outline);
    outlined_ = s.draws(m);
    if (outlined_) pen_ = s.pen(m);
}

void FillSession::draw(const Shape& shape) {
    if (!is_area(shape)) return;
    std::vector<POINT> ring = device_points(mapping_, shape);
    if (ring.size() < 3) return;
    {
        win::Selection no_pen(dc_, GetStockObject(NULL_PEN));
        fill(ring);
    }
    if (outlined_) {
        win::Selection pen(dc_, pen_.get());
        stroke_path(dc_, ring, true);
    }
}

Estimate fill_estimate(const Mapping& m, const Shape& s, ILineSymbol* outline) {
    if (!is_area(s)) return {};
    long reach = outline ? stroke_of(outline).pixels(m) : 0;
    return box_of(device_points(m, s)).grown(reach + 2);
}

}  // namespace mapmodel
