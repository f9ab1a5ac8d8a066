// Drawing a map: every visible (and valid) layer, bottom of the drawing order first, each with
// its renderer's symbols: features in map units, raster cells over the raster's extent. The
// extent is widened to the picture's proportions around its centre, so that a map unit is as
// wide as it is tall, and mapped onto the picture with world y up. A hidden class of a renderer
// draws nothing.
#pragma once
#include <functional>
#include <vector>
#include "com/ptr.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/map/map_scale.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

// The extent of everything the layers hold (features and rasters, inside groups too).
Bounds full_extent(const std::vector<com::ComPtr<ILayer>>& layers);
// The extent widened to width : height around its centre.
Bounds fitted(const Bounds& extent, long width, long height);
// Paints the picture white, then the layers, each only at a scale in its range when the map's
// units (asked only when a layer has a range) are known; after_item(i) follows the drawing of
// top-level layer i.
void draw_layers(HDC dc, long width, long height, const std::vector<com::ComPtr<ILayer>>& layers,
                 const Bounds& extent, const std::function<MapUnits()>& units,
                 const std::function<void(long)>& after_item);

}  // namespace mapmodel
