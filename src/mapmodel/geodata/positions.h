// Positions as GeoJSON and TopoJSON write them: [x, y], perhaps with further numbers (an
// altitude), which are read past. Coordinates are taken as they stand. These read the parser's
// values directly (a file may hold millions of positions) and name the place only for an error.
#pragma once
#include <string>
#include <vector>
#include "mapmodel/json/json_reader.h"
#include "mapmodel/geometry/shape.h"

namespace mapmodel::geodata {

// The position `value`, found at `below` under `at` ("" for `at` itself).
Vec position(const nlohmann::json& value, const json::Node& at, const std::string& below);
// An array of at least `least` positions (`fewer` says what is wrong with fewer), at `below`.
std::vector<Vec> positions(const nlohmann::json& value, const json::Node& at, const std::string& below, size_t least,
                           const wchar_t* fewer);
// The element `i` of an array value at `below` (which must be an array): its own `below`.
std::string element(const std::string& below, size_t i);

}  // namespace mapmodel::geodata
