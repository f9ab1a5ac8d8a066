// The scale of a map: the denominator N of 1:N, from the world rectangle a picture shows, the
// picture's width in pixels and its logical resolution (0.0254 m to the inch), in the map's
// units. Degrees are measured along the rectangle's middle latitude (clamped to +-85 degrees)
// on a sphere of radius 6,378,137 m. And the range of scales at which a layer is drawn.
#pragma once
#include <optional>
#include <string_view>
#include <vector>
#include "com/ptr.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

enum class MapUnits { Unknown, Meters, Degrees };

// The word of documents and of IMapScale.Units ("meters", "degrees", "" for unknown), and back
// (nullopt for a word that names no units).
const wchar_t* word_of(MapUnits units);
std::optional<MapUnits> units_named(std::wstring_view word);

// The units of a map whose units were not put: degrees when every layer that holds data (at any
// depth of groups) holds features read from a data file, and there is one; else unknown.
MapUnits units_of(const std::vector<com::ComPtr<ILayer>>& layers);

// The denominator for a picture `width` pixels wide at `dpi` showing `world` (already fitted to
// the picture's proportions); nullopt when the units are unknown or nothing is shown.
std::optional<double> scale_of(const Bounds& world, long width, double dpi, MapUnits units);

// A layer's scale range, as denominators; an end of 0 is open.
struct ScaleLimits {
    double smallest = 0;  // the maximum scale: the zoomed-in limit
    double largest = 0;   // the minimum scale: the zoomed-out limit
    bool open() const { return smallest == 0 && largest == 0; }
    bool holds(double scale) const { return (smallest == 0 || scale >= smallest) && (largest == 0 || scale <= largest); }
};
// The layer's range (IScaleRange, when it answers it; open when it does not).
ScaleLimits scale_limits_of(ILayer* layer);

}  // namespace mapmodel
