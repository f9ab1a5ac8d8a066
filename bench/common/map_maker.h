// Maps for the benchmark, built through the map model: repeated groups of layers of every
// legend kind, as many as give the control's tree a wanted number of items, side by side at the
// top level or in group layers 8 deep.
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "mapmodel.h"

namespace bench {

// The number of tree items one group of layers gives (layer items and their legends).
int items_per_group();
// A map whose tree holds about `items` items: root, holder and whole groups of layers.
com::ComPtr<IMap> make_map(int items);
// The items of one stack of nested groups, shown with nested groups: 8 group items, each with a
// group of layers and their legends.
int items_per_nested_group();
// A map of stacks of group layers 8 deep, each group holding a group of layers and the next
// group, whose tree holds about `items` items when nested groups are shown.
com::ComPtr<IMap> make_nested_map(int items);

}  // namespace bench
