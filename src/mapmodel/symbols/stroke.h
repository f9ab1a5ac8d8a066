// Strokes: how a line is drawn, shared by the line symbol and by the outlines of fills. A
// stroke is a geometric pen with flat ends and mitred corners, whose width in pixels is the
// line's width in points at the resolution (at least one pixel for any width above 0; a width
// of 0 or the null style draws nothing).
#pragma once
#include <windows.h>
#include <vector>
#include "mapmodel/display/mapping.h"
#include "mapmodel/typelib.h"
#include "win/handles.h"

namespace mapmodel {

struct Stroke {
    COLORREF color = 0;
    double width = 1.0;  // points
    LineStyle style = LineSolid;

    long pixels(const Mapping& m) const;
    bool draws(const Mapping& m) const { return style != LineNull && pixels(m) > 0; }
    win::Pen pen(const Mapping& m) const;
};

// The stroke of any line symbol (ours or a host's), read through its interface.
Stroke stroke_of(ILineSymbol* line);
struct DeviceParts;
// Draws the parts with the pen selected in dc; closed parts (rings) return to their first point.
void stroke_parts(HDC dc, const DeviceParts& parts, bool closed);
LineStyle valid_line_style(LineStyle s);

}  // namespace mapmodel
