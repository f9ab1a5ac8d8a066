#include "bench/common/drag_moves.h"
#include <algorithm>
#include "bench/common/timing.h"
#include "com/error.h"
#include "com/ptr.h"
#include "tree_reader.h"

namespace bench {

namespace {
LPARAM at(POINT p) { return MAKELPARAM(p.x, p.y); }

HTREEITEM next_item(HWND tree, UINT relation, HTREEITEM item = nullptr) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

RECT label_rect(HWND tree, HTREEITEM item) { return host::item_rect(tree, item, true); }

POINT label_middle(HWND tree, HTREEITEM item) {
    const RECT r = label_rect(tree, item);
    if (IsRectEmpty(&r)) com::raise(E_FAIL, L"The item to drag or drop on is not shown");
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
}  // namespace

void run_pending_messages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double drop_seconds(HWND tree, IMap* map) {
    std::vector<HTREEITEM> layers;
    for (const host::NativeItem& item : host::read_items(tree))
        if (item.depth == 1 && host::stands_for_layer(item)) layers.push_back(item.handle);
    if (layers.size() < 3) com::raise(E_FAIL, L"The map has fewer than three layers to drag");
    com::ComPtr<ILayer> top_before;
    com::check(map->get_Layer(0, top_before.put()));

    // The pointer is over the tree at the release, above any other window of the program (the
    // hosts' windows stay on top of all others).
    SetWindowPos(GetAncestor(tree, GA_ROOT), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const POINT from = label_middle(tree, layers[0]);
    const POINT to = label_middle(tree, layers[2]);
    SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at(from));
    SendMessageW(tree, WM_MOUSEMOVE, MK_LBUTTON, at({from.x + 1, from.y}));
    SendMessageW(tree, WM_MOUSEMOVE, MK_LBUTTON, at(to));
    POINT screen = to;
    ClientToScreen(tree, &screen);
    SetCursorPos(screen.x, screen.y);
    run_pending_messages();

    const double seconds = seconds_of([&] {
        SendMessageW(tree, WM_LBUTTONUP, 0, at(to));
        run_pending_messages();
        UpdateWindow(tree);
    });
    com::ComPtr<ILayer> top_after;
    com::check(map->get_Layer(0, top_after.put()));
    if (top_after.get() == top_before.get()) com::raise(E_FAIL, L"The drop moved no layer");
    return seconds;
}

std::vector<POINT> label_points(HWND tree, int per_row) {
    RECT client{};
    GetClientRect(tree, &client);
    std::vector<POINT> points;
    for (HTREEITEM item = next_item(tree, TVGN_FIRSTVISIBLE); item; item = next_item(tree, TVGN_NEXTVISIBLE, item)) {
        const RECT r = label_rect(tree, item);
        if (IsRectEmpty(&r) || r.top >= client.bottom) break;
        const LONG y = (r.top + std::min<LONG>(r.bottom, client.bottom)) / 2;
        for (int k = 0; k < per_row; ++k) points.push_back({r.left + (r.right - r.left) * (2 * k + 1) / (2 * per_row), y});
    }
    return points;
}

void start_drag(HWND tree) {
    const RECT r = label_rect(tree, next_item(tree, TVGN_CHILD, next_item(tree, TVGN_ROOT)));
    const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at(p));
    SendMessageW(tree, WM_MOUSEMOVE, MK_LBUTTON, at({p.x + 1, p.y}));
    if (GetCapture() != tree) com::raise(E_FAIL, L"The drag did not start");
}

void end_drag(HWND tree) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    SendMessageW(tree, WM_LBUTTONUP, 0, at({-10, -10}));
}

double moves_seconds(HWND tree, const std::vector<POINT>& points) {
    POINT screen = points.front();
    ClientToScreen(tree, &screen);
    SetCursorPos(screen.x, screen.y);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return seconds_of([&] {
        for (POINT p : points) SendMessageW(tree, WM_MOUSEMOVE, MK_LBUTTON, at(p));
    });
}

HostDrag::HostDrag(HWND tree) : tree_(tree) {
    if (running_) com::raise(E_UNEXPECTED, L"A host drag runs already");
    running_ = this;
    tree_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(tree_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostDrag::proc)));
}

HostDrag::~HostDrag() {
    SetWindowLongPtrW(tree_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tree_proc_));
    SendMessageW(tree_, TVM_SETINSERTMARK, 0, 0);
    running_ = nullptr;
}

LRESULT CALLBACK HostDrag::proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEMOVE) running_->over(lp);
    return CallWindowProcW(running_->tree_proc_, window, msg, wp, lp);
}

void HostDrag::over(LPARAM lp) {
    TVHITTESTINFO test{};
    test.pt = {short(LOWORD(lp)), short(HIWORD(lp))};
    SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
    if (test.hItem == marked_) return;
    marked_ = test.hItem;
    SendMessageW(tree_, TVM_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(marked_));
}

}  // namespace bench
