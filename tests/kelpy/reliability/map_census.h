// A census of a map and of the control's tree, for the reliability suites: every layer with its
// place, the map and the tree as outlines ("A, G [x, y], B"), and whether the map still holds
// exactly the layers it should.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <vector>
#include "com/ptr.h"
#include "kelpy/control/toc.h"

namespace census {

std::wstring name_of(ILayer* layer);
// The layer's identity (its IUnknown), which tells two references to one layer apart from two layers.
com::ComPtr<IUnknown> identity(ILayer* layer);

// Every layer of the map with its place: the group layer it is in (null: the map's top level).
struct Placed {
    com::ComPtr<ILayer> layer;
    com::ComPtr<ILayer> group;
};
// The members of a group layer (none for another layer), deeper ones too, appended to `out`.
void members(ILayer* layer, std::vector<Placed>& out);
std::vector<Placed> every_layer(IMap* map);

// Layers by identity.
using Layers = std::map<IUnknown*, com::ComPtr<ILayer>>;
Layers layers_of(IMap* map);
// What is wrong with the map's layers against those it should hold ("" when nothing is): a
// layer in two places, one lost, one from nowhere.
std::string unsound(IMap* map, const Layers& expected);

// What a drag left behind although none runs ("" when nothing): the mouse captured, the drag
// timer running, the custom pointer showing.
std::string drag_leftovers(kelpy::Toc& toc);
// Whether a drag runs in the control.
bool dragging(kelpy::Toc& toc);

// The map as the tree shows it: top-level layers, and the members of top-level group layers in
// brackets (a group without members shows as a layer does); deeper members are not items of
// their own, unless nested groups are shown (`nested`): then every group's members are, at
// every depth.
std::wstring map_outline(IMap* map, bool nested = false);
// The tree's layer items in the same form, read from the control's tree window.
std::wstring tree_outline(const kelpy::Toc& toc);

}  // namespace census
