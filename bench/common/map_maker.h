// Maps for the benchmark, built through the map model: repeated groups of layers of every
// legend kind, as many as give the control's tree a wanted number of items.
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "mapmodel.h"

namespace bench {

// The number of tree items one group of layers gives (layer items and their legends).
int items_per_group();
// A map whose tree holds about `items` items: root, holder and whole groups of layers.
com::ComPtr<IMap> make_map(int items);

}  // namespace bench
