// Reading a layer's legend: a renderer read row by row, each row handed on as it is read (its
// text and kind, and a fill that sets the record's other fields: indexes, symbol, layer). The
// reader knows nothing of the tree; the one who takes the rows inserts and measures them.
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
    // Takes one row with this text and kind; `fill` sets the record's other fields.
    virtual void Add(std::wstring_view text, ::TOCNodeType type, const Fill& fill) = 0;

protected:
    ~LegendRows() = default;
};

// The legend of a feature layer: one swatch row for a simple renderer, a heading and one row
// per class for class-breaks and unique-value renderers, one row for a pie-chart renderer;
// renderers of any other kind show no rows. The layer item's record gets the features' shape
// type.
void AddFeatureLegend(const com::ComPtr<ILayer>& layer, TocNode& layerRecord, LegendRows& rows);
// The legend of a raster layer: the three bands of a red-green-blue composite, the ramp of a
// stretched raster, the classes of unique-value and classified renderers.
void AddRasterLegend(const com::ComPtr<ILayer>& layer, LegendRows& rows);

}  // namespace kelpy::tree
