// Reading a native tree view back through its own messages (TVM_GETNEXTITEM, TVM_GETITEM,
// TVM_GETITEMRECT), as an outside observer sees it. The tools read the TOC control's tree this
// way, and so do the tests that check what the tree shows.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct NativeItem {
    HTREEITEM handle = nullptr;
    HTREEITEM parent = nullptr;
    int depth = 0;
    std::wstring text;
    int image = 0;
    int selected_image = 0;
    UINT state = 0;
    bool has_children = false;
    bool bold() const { return (state & TVIS_BOLD) != 0; }
    bool expanded() const { return (state & TVIS_EXPANDED) != 0; }
};

NativeItem read_item(HWND tree, HTREEITEM item);
// Every item, depth first in the tree's order.
std::vector<NativeItem> read_items(HWND tree);
HTREEITEM selected_item(HWND tree);
bool has_visible_style(HWND window);
// The rectangle of an item (of its text only, or of its whole row), in client pixels; empty
// when the item is not shown (it is inside a collapsed item).
RECT item_rect(HWND tree, HTREEITEM item, bool text_only);
// The control's image keys by native position ("" for no image).
std::wstring image_key(int index);
// Whether the item stands for a layer or a group layer: the control gives these items, and
// only these, a check box ("checked", "unchecked", "mixed") or the picture of a layer that cannot be
// shown ("disconnected"). The root has its own picture; legend rows and the last item have none.
bool stands_for_layer(const NativeItem& item);

// The tree as text, one line per item, two blanks of indent per level:
//   <text> [<image key>]{ bold}{ expanded | collapsed (items with children only)}
// An item without text shows `no_text` in its place.
std::wstring outline(HWND tree, std::wstring_view no_text = L"");

}  // namespace host
