// The face by which a layer's legend reaches the model: a reader (the renderer-kind table, in
// tree/) reads the layer's renderer row by row and hands each row on as it is read (its text,
// its type, its class's key, and a fill that sets the record's other fields: indexes, symbol,
// layer, kind). The model takes, measures and keeps the rows; the reader knows nothing of them.
#pragma once
#include <functional>
#include <string_view>
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/model/typelib.h"
#include "kelpy/toc/toc.h"

namespace kelpy::toc {

class LegendRows {
public:
    using Fill = std::function<void(TocNode&)>;
    // Takes one row with this text, type and class key; `fill` sets the record's other fields.
    virtual void Add(std::wstring_view text, ::TOCNodeType type, const ClassKey& key, const Fill& fill) = 0;

protected:
    ~LegendRows() = default;
};

// Reads the legend of a layer into `rows`; it may set fields of the layer row's record (the
// features' shape type).
using ReadLegend = void (*)(const com::ComPtr<ILayer>& layer, TocNode& layerRecord, LegendRows& rows);

}  // namespace kelpy::toc
