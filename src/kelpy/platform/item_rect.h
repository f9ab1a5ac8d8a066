// The rectangle a tree window lays an item out in (TVM_GETITEMRECT, which reads the item from
// the rectangle it fills).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <optional>

namespace kelpy::platform {

enum class ItemPart { Row, Label };

// The item's whole row, or its label, in the tree's client pixels; none when the tree does not
// lay the item out (a collapsed parent's member, an item of another tree).
std::optional<RECT> ItemRect(HWND tree, HTREEITEM item, ItemPart part);

}  // namespace kelpy::platform
