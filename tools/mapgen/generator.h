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

// A TopoJSON topology of cells x cells polygons tiling the world (-180..180, -80..80) in one
// object, "cells": neighbours share the arcs of their borders (a cell lists two of its four
// arcs reversed), each border wiggles through `detail` points between the corners, and every
// tenth cell has a hole (a closed arc of its own, listed reversed). The arcs are quantized and
// delta-encoded. Each cell has an id and the properties "name" (a text), "value" (a number) and
// "group" (one of five texts). 100 cells a side with detail 12 make a file of about 4 MB.
struct TopologyOptions {
    long cells = 100, detail = 12;
};
std::string topology(const TopologyOptions& o);

}  // namespace mapgen
