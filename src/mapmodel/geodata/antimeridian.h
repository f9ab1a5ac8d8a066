// Longitude and latitude drawn flat. Data made for a globe (TopoJSON world maps above all) joins
// the two sides of the antimeridian: a ring or a line steps from about 180 degrees east to about
// 180 west between two neighbouring positions. Drawn as it stands on a flat map, that step is a
// band or a line straight across the whole map. These cut such parts at the antimeridian: a
// line ends at one edge of the map and goes on from the other; a ring becomes the pieces that lie
// on either side (each closed along the edge); a ring that goes once around a pole (Antarctica)
// is closed along the pole's side of the map.
//
// Only parts whose positions all lie within [-180, 180] x [-90, 90] are looked at, and only those
// with a step of more than 180 degrees between positions that are not both on the antimeridian
// (a rectangle around the whole world has such steps along its edges only): every other part
// passes as it is. In a part that is cut, a step between the antimeridian's two sides is a step
// along it, as on the globe.
#pragma once
#include "mapmodel/geodata/layer_builder.h"

namespace mapmodel::geodata {

// The same lines, or rings (each without its closing point), cut at the antimeridian.
PartList cut_at_antimeridian(PartList&& parts, bool rings);

}  // namespace mapmodel::geodata
