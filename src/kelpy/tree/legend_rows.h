// LegendRows: adds the rows of one layer's legend, every row in the same order of calls: its
// record is made with the row's type, the caller sets the other fields, and a row with a
// symbol is measured; then the item is added as the layer item's last child (no key, no image)
// with the height its swatch needs, the record gets the item's handle and goes into the item's
// Tag, and the swatch size into the record. Measuring before the insertion gives the row its
// height with the insertion message instead of a second message, which would make the tree
// search its items once more; the measuring still finds the record complete.
//
// A failing step leaves what the step-by-step order would: a row whose fields could not be set
// is in the tree without a record; a row whose measure failed is in the tree, its record in
// its Tag as it was before the measure (and its height the standard one, unless the measure
// had found it before failing).
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include "com/ptr.h"
#include "kelpy/draw/measuring.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/node_collection.h"

namespace kelpy {

class LegendRows {
public:
    using Handle = std::function<LONG_PTR(const platform::NodePtr&)>;
    using Measure = std::function<std::optional<draw::SwatchMeasure>(const TocNode&)>;
    using Fill = std::function<void(TocNode&)>;

    LegendRows(platform::NodeCollection& nodes, std::wstring layerKey, Handle handle, Measure measure)
        : nodes_(nodes), layerKey_(std::move(layerKey)), handle_(std::move(handle)), measure_(std::move(measure)) {}

    // Adds one row with this text and type; `fill` sets the record's other fields.
    platform::NodePtr Add(std::wstring_view text, ::TOCNodeType type, const Fill& fill);

private:
    platform::NodeCollection& nodes_;
    std::wstring layerKey_;
    Handle handle_;
    Measure measure_;
};

}  // namespace kelpy
