// LegendRows: adds the rows of one layer's legend, every row in the same order of calls: the
// item is added as the layer item's last child (no key, no image), its record is created with
// the row's type and the item's handle, the caller sets the other fields, the record is stored
// in the item's Tag, and a row with a symbol is measured. The measuring therefore always finds
// the record complete.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/node_collection.h"

namespace kelpy {

class LegendRows {
public:
    using NewRecord = std::function<com::ComPtr<TocNode>(const platform::NodePtr&, ::TOCNodeType)>;
    using Measure = std::function<void(const platform::NodePtr&)>;
    using Fill = std::function<void(TocNode&)>;

    LegendRows(platform::NodeCollection& nodes, std::wstring layerKey, NewRecord newRecord, Measure measure)
        : nodes_(nodes), layerKey_(std::move(layerKey)), newRecord_(std::move(newRecord)), measure_(std::move(measure)) {}

    // Adds one row with this text and type; `fill` sets the record's other fields.
    platform::NodePtr Add(std::wstring_view text, ::TOCNodeType type, const Fill& fill);

private:
    platform::NodeCollection& nodes_;
    std::wstring layerKey_;
    NewRecord newRecord_;
    Measure measure_;
};

}  // namespace kelpy
