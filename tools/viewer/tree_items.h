// The TOC control's tree window read from outside, through the tree view's own messages, as a
// host sees it: the item under a point, the selected item, an item's text, and the layer an item
// stands for. The tree mirrors the map: under the root, one item per top-level layer in drawing
// order (a group layer's item holds its members' items, in their order), the legend rows under
// their layer's item, and a last item that stands for no layer.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <optional>
#include <string>
#include "com/ptr.h"
#include "mapmodel.h"

namespace viewer {

// The item whose row is under a point of the screen, or null.
HTREEITEM item_at(HWND tree, POINT screen);
HTREEITEM selected_item(HWND tree);
std::wstring item_text(HWND tree, HTREEITEM item);

// The layer of an item and where it sits: the group layer it is a member of (null at the map's
// top level); and whether the item is a row of the layer's legend rather than the layer's own.
struct LayerPlace {
    com::ComPtr<ILayer> layer;
    com::ComPtr<IGroupLayer> group;
    bool legend_row = false;
};

// The layer an item stands for — a layer or group layer item's own layer, a legend row's layer —
// found at the item's place in the tree and checked against the layers' names; nothing for the
// root, the last item, or an item the map does not match.
std::optional<LayerPlace> layer_of_item(HWND tree, HTREEITEM item, IMap* map);

}  // namespace viewer
