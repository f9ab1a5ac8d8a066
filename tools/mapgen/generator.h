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

// Files made to cost their reader as much as they can for their size, as a hostile sender
// would make them:
// a topology whose one line string names its one arc of `positions` positions `references`
// times (100,000 and 500,000: 1.6 MB, which would decode into 5e10 positions);
std::string repeated_arc_topology(long positions, long references);
// a GeoJSON collection of `points` points, each with a property name of its own (50,000: 4.9 MB);
std::string points_with_own_names(long points);
// a GeoJSON polygon whose ring steps 179 degrees east at each of its `positions` positions,
// crossing the antimeridian at every other step (120,000: 1.2 MB).
std::string stepping_ring(long positions);

}  // namespace mapgen
