#include "mapmodel/symbols/stroke.h"
#include <algorithm>
#include <cmath>
#include "mapmodel/display/color.h"
#include "mapmodel/support.h"
#include "mapmodel/symbols/device.h"

namespace mapmodel {

long Stroke::pixels(const Mapping& m) const {
    if (width <= 0) return 0;
    return std::max(1L, std::lround(m.pixels(width)));
}

win::Pen Stroke::pen(const Mapping& m) const {
    DWORD dash = PS_SOLID;
    switch (style) {
    case LineDash: dash = PS_DASH; break;
    case LineDot: dash = PS_DOT; break;
    case LineDashDot: dash = PS_DASHDOT; break;
    default: break;
    }
    // A solid line one pixel wide paints the same pixels with a cosmetic pen, which the system
    // draws many times faster than a geometric one (a map's outlines are most of its lines).
    if (style == LineSolid && pixels(m) == 1) return win::Pen::created(CreatePen(PS_SOLID, 1, color));
    LOGBRUSH lb{BS_SOLID, color, 0};
    return win::Pen::created(ExtCreatePen(PS_GEOMETRIC | dash | PS_ENDCAP_FLAT | PS_JOIN_MITER, DWORD(pixels(m)), &lb, 0, nullptr));
}

Stroke stroke_of(ILineSymbol* line) {
    required(line, L"The line symbol");
    Stroke s;
    com::ComPtr<IColor> c;
    com::check(line->get_Color(c.put()));
    s.color = color_of(c.get(), L"The line's colour");
    com::check(line->get_Width(&s.width));
    com::check(line->get_Style(&s.style));
    return s;
}

void stroke_parts(HDC dc, const DeviceParts& parts, bool closed) {
    if (parts.sizes.empty()) return;
    if (closed) {
        win::Selection hollow(dc, GetStockObject(NULL_BRUSH));
        PolyPolygon(dc, parts.points.data(), parts.sizes.data(), int(parts.sizes.size()));
    } else {
        const std::vector<DWORD> sizes = parts.line_sizes();
        PolyPolyline(dc, parts.points.data(), sizes.data(), DWORD(sizes.size()));
    }
}

LineStyle valid_line_style(LineStyle s) {
    return one_of(s, {LineSolid, LineDash, LineDot, LineDashDot, LineNull}, L"line style");
}

}  // namespace mapmodel
