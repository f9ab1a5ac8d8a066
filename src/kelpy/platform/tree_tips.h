// TreeTips: the tips of a tree with TVS_INFOTIP whose native tree shows none of its own.
//
// A tree view with that style shows a tip for the item under the mouse in its own tooltip, asking
// its parent for the text (TVN_GETINFOTIP). A tree view whose tooltip holds no tool (Wine's
// comctl32 makes the tooltip but shows no tips in it) would show nothing: its items get the same
// tips from a tooltip of this object. When the mouse rests on an item (WM_MOUSEHOVER) the tip,
// if the item has one, shows below the item's row; it goes when the mouse moves to another
// item or leaves the tree, a button or a key is pressed, the tree scrolls or the style goes.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include "win/handles.h"

namespace kelpy::platform {

class TreeTips {
public:
    // The tip of an item (empty: none).
    using TextOf = std::function<std::wstring(HTREEITEM item)>;

    explicit TreeTips(TextOf text) noexcept : text_(std::move(text)) {}
    TreeTips(const TreeTips&) = delete;
    TreeTips& operator=(const TreeTips&) = delete;

    // A message of the tree window, before the native tree sees it.
    void on_message(HWND tree, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    // The tree window goes: so does the tooltip.
    void destroy() noexcept;

private:
    void moved(HWND tree, POINT at) noexcept;
    void hovered(HWND tree, POINT at, WPARAM buttons);
    void hide() noexcept;
    // Whether the native tree shows tips itself.
    static bool native_tips(HWND tree) noexcept;

    TextOf text_;
    win::Window tip_;
    HWND tree_ = nullptr;       // the tree whose tool the tooltip holds
    HTREEITEM item_ = nullptr;  // the item the mouse is on (null: none, or not known)
    bool tracking_ = false;     // a hover or the mouse's leaving will be reported
    bool shown_ = false;
};

}  // namespace kelpy::platform
