#include "kelpy/tree/legend_rows.h"
#include <exception>
#include "kelpy/model/items.h"

namespace kelpy::tree {

void LegendRowInserter::Add(std::wstring_view text, ::TOCNodeType type, const Fill& fill) {
    // The record, complete, and its swatch measured; a failure comes after the row is added.
    com::ComPtr<TocNode> record = TocNode::create();
    record->TOCNodeType = type;
    bool filled = false;
    std::optional<SwatchMeasure> swatch;
    std::exception_ptr failure;
    try {
        fill(*record.get());
        filled = true;
        if (record->Symbol) swatch = measurer_.MeasureSwatch(*record.get());
    } catch (...) {
        failure = std::current_exception();
    }

    // The row, as tall as its swatch needs; its record with its handle.
    platform::NodePtr node = tree_.Nodes().Add({.relative = layerKey_,
                                         .relationship = platform::Relationship::Child,
                                         .text = text,
                                         .look = {.rows = swatch ? int(swatch->rows) : 1}});
    const LONG_PTR handle = GetNodeHandle(tree_, node);
    if (filled) {
        record->Handle = handle;
        node->Tag(record);
    }
    if (failure) std::rethrow_exception(failure);
    if (swatch) write_swatch(*record.get(), *swatch);
}

}  // namespace kelpy::tree
