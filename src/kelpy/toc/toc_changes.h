// What changed between two models of the table of contents, row by row, by the rows' identities
// (toc.h): the rows that are gone, the rows that are new, the rows that moved (to another parent,
// or to another place among the rows their parent keeps) and the rows that show something else.
// Applying the changes in this order to a view of the old model gives a view of the new one:
// move the moved rows (each with the rows below it), remove the removed ones, insert the
// inserted ones (each after its parent), change the changed ones.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "kelpy/toc/toc.h"

namespace kelpy::toc {

// A row of the new model with where it goes there: its parent (-1: the top level) and its
// place among that parent's children (from 0).
struct Placed {
    size_t row;
    int32_t parent;
    size_t place;
};

// What a changed row shows differently.
enum Difference : unsigned {
    TextChanged = 1u << 0,
    ImageChanged = 1u << 1,  // the check, and with it the image
    BoldChanged = 1u << 2,
    ExpandedChanged = 1u << 3,
    HeightChanged = 1u << 4,
    SymbolChanged = 1u << 5,  // the record's symbol is another object (a class's new symbol)
};

struct Changes {
    // Rows of the old model with no row of the same identity in the new one, in the old order
    // (the rows below a removed row are listed too, unless they moved).
    std::vector<size_t> removed;
    // Rows of the new model with no row of the same identity in the old one, in the new order,
    // so a parent comes before its children (the rows below an inserted row are listed too).
    std::vector<Placed> inserted;
    // Rows in both whose parent is another row now, or whose order among the rows that stay
    // under the same parent changed: as few as keep the others in order. The rows below a moved
    // row go with it and are not listed.
    struct Moved {
        size_t before;
        Placed after;
    };
    std::vector<Moved> moved;
    // Rows in both that show something else, with what (Difference bits).
    struct Changed {
        size_t before, after;
        unsigned what;
    };
    std::vector<Changed> changed;

    bool empty() const noexcept { return removed.empty() && inserted.empty() && moved.empty() && changed.empty(); }
};

Changes Compare(const Toc& before, const Toc& after);

}  // namespace kelpy::toc
