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
// A map of feature layers of one renderer kind, unique values (10 values and the default class),
// whose tree holds about `items` items. Every layer draws the same feature class, of `features`
// points whose values fall in every class (made once: a map of 32k items would otherwise hold
// tens of millions of features); it is answered in `shared`, so that a benchmark can change a
// value and have every layer count its features anew.
com::ComPtr<IMap> make_counted_map(int items, int features, com::ComPtr<IFeatureClass>& shared);

}  // namespace bench
