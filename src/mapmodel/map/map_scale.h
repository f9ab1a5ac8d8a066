// The scale of a map: the denominator N of 1:N, from the world rectangle a picture shows, the
// picture's width in pixels and its logical resolution (0.0254 m to the inch), in the map's
// units. Degrees are measured along the rectangle's middle latitude (clamped to +-85 degrees)
// on a sphere of radius 6,378,137 m. And whether a layer is drawn at a scale.
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

// Whether the layer's scale range (IScaleRange, when it answers it) holds the scale.
bool in_scale_range(ILayer* layer, double scale);

}  // namespace mapmodel
