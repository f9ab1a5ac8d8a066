// LegendRowInserter: takes the rows of one layer's legend as the legend reader hands them on and
// adds each at once, every row in the same order of steps: its record is made with the row's
// type, the reader's fill sets the other fields, and a row with a symbol is measured; then the
// item is added as the layer item's last child (no key, no image) with the height its swatch
// needs, the record gets the item's handle and goes into the item's Tag, and the swatch size
// into the record. Measuring before the insertion gives the row its height with the insertion
// message instead of a second message, which would make the tree search its items once more;
// the measuring still finds the record complete.
//
// A failing step leaves what the step-by-step order would: a row whose fields could not be set
// is in the tree without a record; a row whose measure failed is in the tree, its record in
// its Tag as it was before the measure (and its height the standard one, unless the measure
// had found it before failing).
#pragma once
#include <string>
#include <string_view>
#include "kelpy/platform/tree_view.h"
#include "kelpy/tree/legends.h"
#include "kelpy/tree/swatch_measurer.h"

namespace kelpy::tree {

class LegendRowInserter final : public LegendRows {
public:
    LegendRowInserter(platform::TreeView& tree, std::wstring layerKey, SwatchMeasurer& measurer)
        : tree_(tree), layerKey_(std::move(layerKey)), measurer_(measurer) {}

    void Add(std::wstring_view text, ::TOCNodeType type, const Fill& fill) override;

private:
    platform::TreeView& tree_;
    std::wstring layerKey_;
    SwatchMeasurer& measurer_;
};

}  // namespace kelpy::tree
