// A symbol's likeness: what decides the pixels it paints on a given shape and surface, as the map
// model's interfaces tell it: its kind (the symbol interface it answers, and its class where it
// names one through IPersist) and every setting of that kind that places or colours a pixel
// (colours, sizes, widths, styles, the outline's, a gradient's ramp colour by colour, a chart's
// slices). Two symbols of one likeness paint alike; a symbol whose kind is not one of the model's
// (or which answers more than one kind), or a setting that is not a number, has no likeness.
//
// Reading a likeness asks the symbol for each setting (a few calls for most symbols, three a
// colour for a gradient's ramp); a failing call fails the reading. Ramps and charts of more
// than `most_colours` colours are not read: they have no likeness.
#pragma once
#include <windows.h>
#include <cstddef>
#include <optional>
#include <vector>
#include "kelpy/model/typelib.h"

namespace kelpy::draw {

struct SymbolLikeness {
    static constexpr long most_colours = 256;

    GUID type = GUID_NULL;  // the class, where the symbol tells it
    int kind = 0;           // which symbol interface it answers
    std::vector<double> settings;
    friend bool operator==(const SymbolLikeness& a, const SymbolLikeness& b) {
        return IsEqualGUID(a.type, b.type) && a.kind == b.kind && a.settings == b.settings;
    }
    size_t hash() const noexcept;
};

std::optional<SymbolLikeness> LikenessOf(ISymbol* symbol);

}  // namespace kelpy::draw
