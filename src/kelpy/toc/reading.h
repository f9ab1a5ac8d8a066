// Reading the model of the table of contents from the map: the root named after the map, a group
// row per group layer with its members (with nested groups shown, a group row for a group inside
// a group too, at every depth), a row per layer with its check and its legend, the holder at the
// end. Group and layer rows take their expanded state from the expanded-state memory, by text.
#pragma once
#include "com/ptr.h"
#include "kelpy/model/options.h"
#include "kelpy/model/typelib.h"
#include "kelpy/toc/legend_rows.h"
#include "kelpy/toc/node_states.h"
#include "kelpy/toc/swatch_measurer.h"
#include "kelpy/toc/toc.h"

namespace kelpy::toc {

// What a reading asks besides the map.
struct Sources {
    const Options& options;
    const NodeStates& memory;
    SwatchMeasurer& measurer;  // measures the legend rows as they are read
    ReadLegend legend;         // reads a layer's legend (the renderer-kind table)
};

// Reads `toc` (emptied first) from `map`; none for Nothing. A failure is thrown once the rows
// read until then are in `toc`, each as far as it was read: the row of a group or layer whose
// remembered state could not be read, or a legend row whose fields could not be set, has no
// record; a layer row whose legend failed keeps no expanded state; the root is expanded only
// when the whole map was read. Layer keys are drawn at random (platform/random.h), one per row.
void Read(const com::ComPtr<IMap>& map, const Sources& sources, Toc& toc);

}  // namespace kelpy::toc
