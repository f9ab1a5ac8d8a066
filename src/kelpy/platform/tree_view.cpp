#include "kelpy/platform/tree_view.h"
#include <windowsx.h>
#include <algorithm>
#include "com/error.h"
#include "kelpy/platform/handler.h"
#include "kelpy/platform/held.h"
#include "kelpy/platform/mouse_pointer.h"
#include "kelpy/platform/swallowed_mouse_input.h"

namespace kelpy::platform {

namespace {
// The procedure of the native tree class, for tree windows that this object has let go.
WNDPROC native_tree_proc() {
    static const WNDPROC proc = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        return GetClassInfoExW(nullptr, WC_TREEVIEWW, &wc) ? wc.lpfnWndProc : &DefWindowProcW;
    }();
    return proc;
}


int16_t buttons_held(WPARAM keys) noexcept {
    int16_t buttons = 0;
    if (keys & MK_LBUTTON) buttons |= 1;
    if (keys & MK_RBUTTON) buttons |= 2;
    if (keys & MK_MBUTTON) buttons |= 4;
    return buttons;
}
}  // namespace

ShiftMask::operator int16_t() const noexcept {
    int16_t shift = 0;
    if (keys_ & MK_SHIFT) shift |= 1;
    if (keys_ & MK_CONTROL) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

TreeView::TreeView()
    : nodes_(std::make_unique<NodeCollection>(*this)),
      label_edit_([this](const NodePtr& node, std::wstring_view text) {
          if (events_) events_->AfterLabelEdit(node, text);
      }),
      tips_([this](HTREEITEM item) { return tip_text(item); }) {}

TreeView::~TreeView() { on_destroyed(); }

void TreeView::Create(HWND parent, int id, const RECT& bounds, DWORD style) {
    if (hwnd_) com::raise(E_UNEXPECTED, L"The tree already has a window");
    HWND window = CreateWindowExW(0, WC_TREEVIEWW, L"", style, bounds.left, bounds.top, bounds.right - bounds.left,
                                  bounds.bottom - bounds.top, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                  nullptr, nullptr);
    if (!window) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not create the tree window");
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeView::window_proc));
    hwnd_ = window;
    if (images_) SendMessageW(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->handle()));
}

HWND TreeView::window() const {
    if (!hwnd_) com::raise(E_UNEXPECTED, L"The tree has no window");
    return hwnd_;
}

void TreeView::SetImageList(ImageList* list) {
    images_ = list;
    if (hwnd_)
        SendMessageW(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list ? list->handle() : nullptr));
}

int TreeView::image_index(std::wstring_view key) const {
    if (key.empty()) return I_IMAGENONE;
    if (!images_) com::raise(com::CTL_E_ELEMENTNOTFOUND, L"The tree has no image list for the image \"" + std::wstring(key) + L"\"");
    return images_->IndexOf(key);
}

std::wstring TreeView::image_key(int index) const {
    if (!images_ || index < 0 || index >= images_->Count()) return {};
    return images_->KeyAt(index);
}

void TreeView::Invalidate(bool frame) {
    const HWND w = window();
    // Whatever waits for a paint is dropped (the whole client area is invalidated below). The
    // frame is painted at once, before the client area is marked for erasing, so that nothing
    // of the tree is blanked before its next paint.
    RedrawWindow(w, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
    if (frame) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASENOW | RDW_NOCHILDREN);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void TreeView::PaintPendingFrame() { RedrawWindow(window(), nullptr, nullptr, RDW_ERASENOW | RDW_NOCHILDREN); }

TreeView::FrameLook TreeView::frame_look() const {
    const HWND w = window();
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    auto bar = [&](int which, LONG_PTR shown_style) {
        FrameLook::Bar b;
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        b.shown = (style & shown_style) != 0;
        if (b.shown && GetScrollInfo(w, which, &info)) {
            b.min = info.nMin;
            b.max = info.nMax;
            b.page = info.nPage;
            b.pos = info.nPos;
        }
        return b;
    };
    return {(style & WS_VISIBLE) != 0, bar(SB_VERT, WS_VSCROLL), bar(SB_HORZ, WS_HSCROLL)};
}

void TreeView::Refresh() { RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW); }

bool TreeView::Visible() const { return (GetWindowLongPtrW(window(), GWL_STYLE) & WS_VISIBLE) != 0; }

void TreeView::Visible(bool visible) { ShowWindow(window(), visible ? SW_SHOWNA : SW_HIDE); }

RECT TreeView::bounds() const {
    RECT r{};
    HWND w = window();
    GetWindowRect(w, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int TreeView::Left() const { return bounds().left; }
int TreeView::Top() const { return bounds().top; }
int TreeView::Width() const { RECT r = bounds(); return r.right - r.left; }
int TreeView::Height() const { RECT r = bounds(); return r.bottom - r.top; }

void TreeView::Move(int left, int top, int width, int height) {
    SetWindowPos(window(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HTREEITEM TreeView::caret() const {
    window();
    return selected_;
}

void TreeView::select(HTREEITEM item) {
    if (!SendMessageW(window(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)))
        com::raise(E_FAIL, L"The tree view did not select the item");
    selected_ = item;
}

void TreeView::select_none() {
    if (!caret()) return;
    if (SendMessageW(window(), TVM_SELECTITEM, TVGN_CARET, 0)) selected_ = nullptr;
}

bool TreeView::StartLabelEdit(const NodePtr& node) {
    return SendMessageW(window(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->handle())) != 0;
}

bool TreeView::on_notify(const NMHDR& header, LRESULT& result) {
    if (!hwnd_ || header.hwndFrom != hwnd_) return false;
    result = 0;
    if (on_label_notify(header, result)) return true;
    // The item's handle lies at the same place in the ANSI and the Unicode record.
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (header.code == TVN_SELCHANGEDW || header.code == TVN_SELCHANGEDA) {
        selected_ = change.itemNew.hItem;
        if (watcher_) watcher_->SelectionChanged(selected_);
        return false;
    }
    if (header.code != TVN_ITEMEXPANDEDW && header.code != TVN_ITEMEXPANDEDA) return false;
    NodePtr node = nodes_->FromHandle(change.itemNew.hItem);
    if (!node) return false;
    const bool expanded = node->read_expanded(hwnd_);
    node->expanded_ = expanded;
    if (watcher_) watcher_->ItemChanged(*node.get());
    if (events_) {
        run_handler(expanded ? L"Expand" : L"Collapse", [&] {
            if (expanded) events_->Expand(node);
            else events_->Collapse(node);
        });
    }
    return false;
}

// The label edits and the tips. An edit that the listener refuses, or whose edit control cannot
// be watched, does not start; the tree never writes a confirmed text itself (the answer to the
// end of an edit is false).
bool TreeView::on_label_notify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case TVN_BEGINLABELEDITW: {
        const auto& info = reinterpret_cast<const NMTVDISPINFOW&>(header);
        NodePtr node = nodes_->FromHandle(info.item.hItem);
        bool cancel = true;
        if (node && events_ && FAILED(run_handler(L"BeforeLabelEdit", [&] { events_->BeforeLabelEdit(node, cancel); })))
            cancel = true;
        if (!cancel) cancel = !label_edit_.begin(reinterpret_cast<HWND>(SendMessageW(hwnd_, TVM_GETEDITCONTROL, 0, 0)), node);
        result = cancel ? TRUE : FALSE;
        return true;
    }
    case TVN_ENDLABELEDITW:
        label_edit_.end(reinterpret_cast<const NMTVDISPINFOW&>(header).item.pszText);
        result = FALSE;
        return true;
    case TVN_GETINFOTIPW: {
        const auto& info = reinterpret_cast<const NMTVGETINFOTIPW&>(header);
        if (!info.pszText || info.cchTextMax <= 0) return true;
        const std::wstring text = tip_text(info.hItem);
        const size_t n = std::min(text.size(), size_t(info.cchTextMax - 1));
        text.copy(info.pszText, n);
        info.pszText[n] = L'\0';
        return true;
    }
    default:
        return false;
    }
}

std::wstring TreeView::tip_text(HTREEITEM item) {
    NodePtr node = nodes_->FromHandle(item);
    std::wstring text;
    if (node && events_) run_handler(L"TipText", [&] { text = events_->TipText(node); });
    return text;
}

// ---- the tree window's messages: the one route

namespace {
POINT point_of(LPARAM lp) noexcept { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }
}  // namespace

UINT TreeView::work_message() noexcept {
    static const UINT id = RegisterWindowMessageW(L"KELPY.TreeView.Work");
    return id;
}

bool TreeView::PostWork(WPARAM kind, LPARAM data) const noexcept {
    return hwnd_ && work_message() && PostMessageW(hwnd_, work_message(), kind, data);
}

LRESULT CALLBACK TreeView::window_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TreeView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return CallWindowProcW(native_tree_proc(), window, msg, wp, lp);
    const Held<TreeViewOwner> held(self->owner_);
    return self->on_message(window, msg, wp, lp);
}

LRESULT TreeView::pass_on(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(native_tree_proc(), window, msg, wp, lp);
}

LRESULT TreeView::on_message(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    tips_.on_message(window, msg, wp, lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return on_button_down(window, msg, wp, lp);
    case WM_MOUSEMOVE:
        on_mouse_move(wp, lp);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (on_button_up(msg, wp, lp)) return 0;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (on_key_down(msg, wp, lp)) return 0;
        break;
    case WM_CAPTURECHANGED:
        on_capture_changed(lp);
        break;
    case WM_GETOBJECT: {
        LRESULT result = 0;
        if (on_get_object(wp, lp, result)) return result;
        break;
    }
    case WM_SETFOCUS:
        on_set_focus();
        break;
    case WM_SETCURSOR:
        // The screen's custom pointer, while one is set, wins over the tree's own.
        if (ShowCustomPointer()) return TRUE;
        break;
    case WM_NCDESTROY:
        on_destroyed();
        break;
    default:
        if (msg == work_message() && work_message()) {
            on_work(wp, lp);
            return 0;
        }
        break;
    }
    return pass_on(window, msg, wp, lp);
}

LRESULT TreeView::on_button_down(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    // The buttons down with this press: the one pressed and any held already (a left press
    // while the right button is held is no press of the left button alone).
    const int16_t button = msg <= WM_LBUTTONDBLCLK ? 1 : msg <= WM_RBUTTONDBLCLK ? 2 : 4;
    const int16_t down = int16_t(button | buttons_held(wp));
    if (events_) run_handler(L"MouseDown", [&] { events_->MouseDown(down, ShiftMask(wp), point_of(lp)); });
    if (!IsWindow(window)) return 0;
    SwallowedMouseInput swallowed(window);
    LRESULT result = pass_on(window, msg, wp, lp);
    swallowed.repost();
    return result;
}

void TreeView::on_mouse_move(WPARAM wp, LPARAM lp) {
    if (events_) run_handler(L"MouseMove", [&] { events_->MouseMove(buttons_held(wp), ShiftMask(wp), point_of(lp)); });
}

bool TreeView::on_button_up(UINT msg, WPARAM wp, LPARAM lp) {
    const int16_t button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
    bool handled = false;
    if (events_) run_handler(L"MouseUp", [&] { events_->MouseUp(button, ShiftMask(wp), point_of(lp), handled); });
    return handled;
}

bool TreeView::on_key_down(UINT msg, WPARAM wp, LPARAM lp) {
    bool handled = false;
    if (events_) run_handler(L"KeyDown", [&] { events_->KeyDown(wp, lp, msg == WM_SYSKEYDOWN, handled); });
    return handled;
}

void TreeView::on_capture_changed(LPARAM lp) {
    if (events_) run_handler(L"CaptureChanged", [&] { events_->CaptureChanged(reinterpret_cast<HWND>(lp)); });
}

bool TreeView::on_get_object(WPARAM wp, LPARAM lp, LRESULT& result) {
    bool handled = false;
    if (watcher_) run_handler(L"ObjectRequested", [&] { watcher_->ObjectRequested(wp, lp, result, handled); });
    return handled;
}

void TreeView::on_set_focus() {
    if (watcher_) run_handler(L"FocusGained", [&] { watcher_->FocusGained(); });
}

void TreeView::on_work(WPARAM wp, LPARAM lp) {
    if (watcher_) run_handler(L"WorkPosted", [&] { watcher_->WorkPosted(wp, lp); });
}

// The window is going, or this object is: the window no longer reaches it (its messages go
// straight to the native tree), and the items are forgotten.
void TreeView::on_destroyed() noexcept {
    if (!hwnd_) return;
    label_edit_.stop();
    tips_.destroy();
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    nodes_->detach_all();
    hwnd_ = nullptr;
    selected_ = nullptr;
}

// ---- layout batches

TreeView::LayoutBatch::LayoutBatch(TreeView& tree) : window_(tree.window()) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
}

void TreeView::LayoutBatch::end() noexcept {
    if (!window_) return;
    HWND window = std::exchange(window_, nullptr);
    if (!IsWindow(window)) return;
    // Switching the drawing on again must not show a window that is hidden (a window procedure
    // that passes the message on to DefWindowProc would set WS_VISIBLE).
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    if (!(style & WS_VISIBLE) && (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE))
        SetWindowLongPtrW(window, GWL_STYLE, style);
}

}  // namespace kelpy::platform
