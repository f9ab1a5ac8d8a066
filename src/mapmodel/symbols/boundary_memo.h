// Boundaries shared by symbols that paint alike. Where a symbol paints, for a shape and a
// mapping, is decided by its kind and the settings that place pixels (sizes, widths, styles,
// the outline's width and style, a ramp's angle and bands); its colours decide only what it
// paints there, and the boundary is found on white and on black, so that no colour hides a
// pixel. Those settings are the symbol's Likeness. Once any symbol has been measured, every
// symbol of the same likeness answers the same shape at the same mapping from the memo instead
// of drawing off screen again; a change of any setting that counts gives the symbol another
// likeness, and so a boundary measured anew.
#pragma once
#include <cstddef>
#include <mutex>
#include <optional>
#include <unordered_map>
#include "mapmodel/display/mapping.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/symbols/device.h"
#include "mapmodel/symbols/stroke.h"

namespace mapmodel {

struct Likeness {
    enum Kind : int { SolidFill = 1, GradientFill, Line, Marker, PieChart };
    int kind = 0;
    double settings[8] = {};
    friend bool operator==(const Likeness&, const Likeness&) = default;
};

// The settings of a fill's outline that place pixels: whether there is one, its width and
// style (the outline is read as it is now, whoever's line symbol it is).
void add_outline(Likeness& like, int at, ILineSymbol* outline);

// The boundaries measured lately, for every symbol of the library on any thread. It holds at
// most `capacity` of them and starts afresh when full. Shapes of more than two points
// (polygons and polylines) are not kept.
class BoundaryMemo {
public:
    static constexpr size_t capacity = 1024;
    static BoundaryMemo& shared();

    std::optional<PixelBox> find(const Likeness& like, const Mapping& m, const Shape& shape);
    void keep(const Likeness& like, const Mapping& m, const Shape& shape, const PixelBox& box);

private:
    struct Key {
        Likeness like;
        Mapping mapping;
        GeometryType type = GeometryNull;
        size_t count = 0;
        Vec points[2];
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct Hash {
        size_t operator()(const Key& k) const noexcept;
    };
    static std::optional<Key> key_of(const Likeness& like, const Mapping& m, const Shape& shape);

    std::mutex lock_;
    std::unordered_map<Key, PixelBox, Hash> boxes_;
};

}  // namespace mapmodel
