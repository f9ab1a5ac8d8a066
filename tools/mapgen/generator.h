// The map documents that mapgen writes, as a library: the tool writes them to files, and the
// map model's tests and fuzz suite make the same documents in-process.
//
// Layer i is, by i mod 4: polygons by class breaks, lines by unique values, points by class
// breaks, or a classified raster; each renderer has `classes` classes and each feature layer
// `features` features. With `groups` > 0, every `groups` consecutive layers form a group layer.
#pragma once
#include <nlohmann/json.hpp>
#include <string>

namespace mapgen {

struct Options {
    long layers = 10, classes = 5, groups = 0, features = 4;
};

nlohmann::ordered_json document(const Options& o);
// The document as mapgen writes it.
std::string text(const Options& o);

}  // namespace mapgen
