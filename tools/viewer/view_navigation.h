// Zooming and panning the map's view, worked out in map units. The view draws its extent widened
// to the window's proportions around the extent's centre, with the extent's left edge on the
// window's left edge and its top (YMax) on the top row: a window point (x, y) in pixels shows the
// map point (xmin + x·u, ymax − y·u), u map units per pixel. The extents these functions give are
// already of the window's proportions, so that drawing them widens nothing.
#pragma once
#include <windows.h>
#include "layer_extent.h"

namespace viewer {

// The extent widened to the window's proportions around its centre, as the view draws it.
Extent fitted(const Extent& extent, SIZE window);
// Zoomed in by `factor` (below 1: out) around the window point `at`: the map point under it
// stays under it. An extent too small or too large to be shown leaves the extent as it is.
Extent zoomed(const Extent& extent, SIZE window, POINT at, double factor);
// Moved with the pointer by (dx, dy) pixels: the map point under the pointer where a drag
// started is under it where it is now.
Extent panned(const Extent& extent, SIZE window, int dx, int dy);

}  // namespace viewer
