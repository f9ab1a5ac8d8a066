// The extent of what a layer draws, in map units: the envelopes of a feature layer's shapes, a
// raster layer's extent, the members' extents of a group layer together; nothing for a layer
// that draws nothing. The map's view is zoomed to it with a margin around it.
#pragma once
#include <optional>
#include "mapmodel.h"

namespace viewer {

struct Extent {
    double xmin, ymin, xmax, ymax;
    friend bool operator==(const Extent&, const Extent&) = default;
};

std::optional<Extent> layer_extent(ILayer* layer);
// The extent of an envelope; nothing for an empty one.
std::optional<Extent> extent_of(IEnvelope* envelope);

// The extent to show a layer's extent in: a twentieth of its larger side more on each side; for a
// single point, a square of a twentieth of `around`'s width (the view's extent now) around it.
// The view needs an extent with a width and a height.
Extent with_margin(const Extent& e, const Extent& around);

}  // namespace viewer
