// GeoJSON (RFC 7946): a FeatureCollection, a Feature or a bare geometry, read into feature layers
// (see layer_builder.h). Every geometry type is read, GeometryCollection too; coordinates are
// taken as they stand. A collection's features are read one at a time as the text is parsed,
// so a large file never stands whole as parsed values. A ring must be closed and have four or
// more positions (it is kept without its closing position), a line string two or more. Members
// that GeoJSON does not define are ignored.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "com/ptr.h"
#include "mapmodel/typelib.h"

namespace mapmodel::geodata {

// `type` is the text's top-level "type"; `name` names the file in errors and `layer_name` the
// layers; `source` is the file's full path, which the feature classes keep. The text is let go of
// (emptied) once it is read, before a lone feature's or geometry's shapes are made.
std::vector<com::ComPtr<ILayer>> read_geojson(std::string&& text, std::string_view type, const std::wstring& name,
                                              const std::wstring& layer_name, const std::wstring& source);

// Whether a top-level "type" is one of GeoJSON's.
bool is_geojson_type(std::string_view type);

}  // namespace mapmodel::geodata
