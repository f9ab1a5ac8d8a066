// Reading a layer's legend: a renderer read row by row, each row handed on as it is read (its
// text and type, and a fill that sets the record's other fields: indexes, symbol, layer, kind).
// The reader knows nothing of the tree; the one who takes the rows inserts and measures them.
// What each kind of renderer shows is the renderer-kind table's (renderer_kinds.h).
#pragma once
#include <functional>
#include <string_view>
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/model/typelib.h"

namespace kelpy::tree {

class LegendRows {
public:
    using Fill = std::function<void(TocNode&)>;
    // Takes one row with this text and type; `fill` sets the record's other fields.
    virtual void Add(std::wstring_view text, ::TOCNodeType type, const Fill& fill) = 0;

protected:
    ~LegendRows() = default;
};

// The legend of a layer: of a feature layer (whose item's record gets the features' shape type)
// or of a raster layer, as the kind of its renderer shows it; other layers have none.
void AddLegend(const com::ComPtr<ILayer>& layer, TocNode& layerRecord, LegendRows& rows);

}  // namespace kelpy::tree
