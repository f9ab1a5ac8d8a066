// Positions as GeoJSON and TopoJSON write them: [x, y], perhaps with further numbers (an
// altitude), which are read past. Coordinates are taken as they stand. These read the parser's
// values directly (a file may hold millions of positions), or coordinates kept as they streamed
// in (coordinates.h), and name the place only for an error.
#pragma once
#include <string>
#include <vector>
#include "mapmodel/geometry/shape.h"
#include "mapmodel/json/json_reader.h"

namespace mapmodel::geodata {

// The element `i` of an array value at `below` (which must be an array): its own `below`.
std::string element(const std::string& below, size_t i);

// The position `value`, found at `below` under `at` ("" for `at` itself).
template <class V>
Vec position(const V& p, const json::Node& at, const std::string& below) {
    bool ok = p.is_array() && p.size() >= 2;
    for (size_t i = 0; ok && i < p.size(); ++i) ok = p[i].is_number();
    if (!ok) at.fail_below(below, L"a position is an array of two or more numbers: [x, y]");
    return {p[0].template get<double>(), p[1].template get<double>()};
}

// An array of at least `least` positions (`fewer` says what is wrong with fewer), at `below`.
template <class V>
std::vector<Vec> positions(const V& list, const json::Node& at, const std::string& below, size_t least, const wchar_t* fewer) {
    if (!list.is_array()) at.fail_below(below, L"expected an array of positions");
    std::vector<Vec> out;
    out.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const auto& p = list[i];  // a reference into a parsed value; a small Value of coordinates
        // The common case at once; anything else is checked (and its place named) by position.
        if (p.is_array() && p.size() == 2 && p[0].is_number() && p[1].is_number())
            out.push_back({p[0].template get<double>(), p[1].template get<double>()});
        else
            out.push_back(position(p, at, element(below, i)));
    }
    if (out.size() < least) at.fail_below(below, fewer);
    return out;
}

}  // namespace mapmodel::geodata
