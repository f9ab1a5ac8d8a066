#include "kelpy/platform/tree_tips.h"
#include <windowsx.h>
#include "kelpy/platform/item_rect.h"
#include "kelpy/platform/handler.h"

namespace kelpy::platform {

namespace {
constexpr UINT_PTR tool_id = 1;

// The tool of the tree in the tooltip: placed by the tree (tracked), its text given each time it
// shows. The size of the record that every version of the tooltip accepts.
TTTOOLINFOW tool_of(HWND tree, const wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = tree;
    tool.uId = tool_id;
    tool.lpszText = const_cast<wchar_t*>(text);
    return tool;
}

bool tips_wanted(HWND tree) noexcept { return (GetWindowLongPtrW(tree, GWL_STYLE) & TVS_INFOTIP) != 0; }

HTREEITEM item_at(HWND tree, POINT at) noexcept {
    TVHITTESTINFO test{};
    test.pt = at;
    SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
    return (test.flags & TVHT_ONITEM) ? test.hItem : nullptr;
}
}  // namespace

bool TreeTips::native_tips(HWND tree) noexcept {
    HWND own = reinterpret_cast<HWND>(SendMessageW(tree, TVM_GETTOOLTIPS, 0, 0));
    return own && SendMessageW(own, TTM_GETTOOLCOUNT, 0, 0) > 0;
}

void TreeTips::on_message(HWND tree, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_MOUSEMOVE:
        moved(tree, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        break;
    case WM_MOUSEHOVER:
        tracking_ = false;  // a hover ends the tracking; the next move asks again
        run_handler(L"a tip of the tree", [&] { hovered(tree, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, wp); });
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        item_ = nullptr;
        hide();
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
        hide();
        break;
    default:
        break;
    }
}

void TreeTips::moved(HWND tree, POINT at) noexcept {
    if (!tips_wanted(tree)) {
        hide();
        return;
    }
    const HTREEITEM item = item_at(tree, at);
    if (item != item_) {
        hide();
        item_ = item;
    }
    if (tracking_) return;
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, tree, HOVER_DEFAULT};
    tracking_ = TrackMouseEvent(&track) != FALSE;
}

void TreeTips::hovered(HWND tree, POINT at, WPARAM buttons) {
    if (buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) return;  // a drag, a press held
    if (!tips_wanted(tree) || native_tips(tree)) return;
    const HTREEITEM item = item_at(tree, at);
    item_ = item;
    const std::wstring text = item ? text_(item) : std::wstring();
    if (text.empty()) {
        hide();
        return;
    }
    if (!tip_) {
        tip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   0, 0, 0, 0, tree, nullptr, nullptr, nullptr));
        TTTOOLINFOW tool = tool_of(tree, L"");
        if (!tip_ || !SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
            tip_.reset();
            return;  // no tooltip: no tips
        }
        tree_ = tree;
    }
    // Below the item's row, where the mouse rests.
    const std::optional<RECT> row = ItemRect(tree, item, ItemPart::Row);
    if (!row) return;
    POINT place{at.x, row->bottom + 2};
    ClientToScreen(tree, &place);
    TTTOOLINFOW tool = tool_of(tree, text.c_str());
    SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(place.x, place.y));
    SendMessageW(tip_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    shown_ = true;
}

void TreeTips::hide() noexcept {
    if (!shown_) return;
    shown_ = false;
    if (!tip_) return;
    TTTOOLINFOW tool = tool_of(tree_, nullptr);
    SendMessageW(tip_.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void TreeTips::destroy() noexcept {
    shown_ = false;
    tracking_ = false;
    item_ = nullptr;
    // A tooltip that went with its owner's window (the top-level window) is not destroyed again.
    if (tip_ && !IsWindow(tip_.get())) tip_.release();
    tip_.reset();
    tree_ = nullptr;
}

}  // namespace kelpy::platform
