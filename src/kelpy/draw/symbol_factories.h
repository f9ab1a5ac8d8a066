// The small factories behind legend swatches: the display transformation that maps a swatch's
// world rectangle onto a device context pixel for pixel, and the shape a symbol draws itself on.
// All objects come from the map model through COM.
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace kelpy::draw {

// Nothing when the transformation cannot be made (a device context without a resolution, or
// any failing step).
com::ComPtr<ITransformation> CreateTransFromDC(LONG_PTR hdc, LONG width, LONG height);
// A point, a horizontal line or a rectangle for the shape types of points, lines and polygons;
// Nothing for other shape types.
com::ComPtr<IGeometry> CreateSymbolGeometry(LONG x, LONG y, LONG width, LONG height, LONG shapeType);

}  // namespace kelpy::draw
