// TopoJSON: a Topology's objects read into feature layers (see layer_builder.h), one set per
// object in the order of the file, named after the object. Geometries are decoded through the
// topology's shared arcs: an arc index i >= 0 is arc i, a negative one (~i) arc i reversed; the
// arcs of a line or ring join end to start. With a "transform", arc positions are quantized and
// delta-encoded (and point coordinates quantized). The arcs are read as the text is parsed, into
// one list of positions, and the geometries one by one, so a large file never stands whole as
// parsed values; the layers are made once the whole text (whose "transform" may come last) has
// been read.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "com/ptr.h"
#include "mapmodel/typelib.h"

namespace mapmodel::geodata {

// `name` names the file in errors; `source` is its full path, which the feature classes keep.
// The text is let go of as soon as it has been read, before the layers are made.
std::vector<com::ComPtr<ILayer>> read_topojson(std::string&& text, const std::wstring& name, const std::wstring& source);

}  // namespace mapmodel::geodata
