// Reading a layer's legend: a renderer read row by row, each row handed on as it is read to the
// model of the table of contents (toc/legend_rows.h). What each kind of renderer shows is the
// renderer-kind table's (renderer_kinds.h).
#pragma once
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/model/typelib.h"
#include "kelpy/toc/legend_rows.h"

namespace kelpy::tree {

using toc::LegendRows;

// The legend of a layer: of a feature layer (whose item's record gets the features' shape type)
// or of a raster layer, as the kind of its renderer shows it; other layers have none. It is the
// model's toc::ReadLegend.
void AddLegend(const com::ComPtr<ILayer>& layer, TocNode& layerRecord, LegendRows& rows);

}  // namespace kelpy::tree
