// A symbol's likeness: what decides the pixels it paints on a given shape and surface, as the
// symbol hands it over itself (com/symbol_likeness.h): only the map model's own symbol classes
// do. Two symbols of one likeness paint alike. Any other symbol (a host's own class, which may
// draw from settings no interface shows, or a host's wrapper around a model symbol) has no
// likeness: what it paints is known only by drawing it.
#pragma once
#include <windows.h>
#include <cstddef>
#include <optional>
#include <vector>
#include "kelpy/model/typelib.h"

namespace kelpy::draw {

struct SymbolLikeness {
    std::vector<double> settings;
    friend bool operator==(const SymbolLikeness&, const SymbolLikeness&) = default;
    size_t hash() const noexcept;
};

// The symbol's likeness, or none: for a symbol that does not hand one over, whose private
// interface belongs to another object than the symbol (a wrapper that hands queries on), or
// whose likeness holds a setting that is not a number. A symbol that fails to answer (a call it
// makes for its likeness failed) fails the reading.
std::optional<SymbolLikeness> LikenessOf(ISymbol* symbol);

}  // namespace kelpy::draw
