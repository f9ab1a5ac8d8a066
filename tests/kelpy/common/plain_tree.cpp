#include "kelpy/common/plain_tree.h"
#include <commctrl.h>
#include "com/boundary.h"
#include "com/error.h"
#include "com/module.h"
#include "kelpy/tree/item_images.h"

namespace test {

namespace {
constexpr wchar_t window_class[] = L"KelpyPlainTreeTest";
constexpr COLORREF magenta = RGB(255, 0, 255);

void register_window_class(WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(com::Module::handle(), window_class, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = com::Module::handle();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = window_class;
    if (!RegisterClassExW(&wc)) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not register the test window class");
}
}  // namespace

PlainTree::PlainTree(Options options) : images_(16, 16, magenta) {
    kelpy::tree::LoadItemImages(images_);
    tree_.SetImageList(&images_);
    tree_.SetEvents(this);
    register_window_class(&PlainTree::WindowProc);
    window_ = CreateWindowExW(0, window_class, L"Plain tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              options.width, options.height, nullptr, nullptr, com::Module::handle(), this);
    if (!window_) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not create the test window");
    RECT client{};
    GetClientRect(window_, &client);
    tree_.Create(window_, 1, client);
    // As the run-time start-up leaves the tree: shown, lines at the root, integral heights.
    tree_.Visible(true);
    HWND tree = tree_.hWnd();
    SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) | TVS_LINESATROOT | TVS_NONEVENHEIGHT);
    builder_.CreateMemory();
}

PlainTree::~PlainTree() {
    tree_.SetEvents(nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

HRESULT PlainTree::initialize(IMap* map) {
    map_ = map;
    return reset();
}

HRESULT PlainTree::reset() {
    return com::boundary(IID__TOC, [&] { builder_.Rebuild(map_); });
}

// The window hands the tree's notifications to the painter (custom draw) and to the tree (its
// expand and collapse events), as the control's window does.
LRESULT CALLBACK PlainTree::WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PlainTree*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && msg == WM_NOTIFY && lp) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lp);
        LONG_PTR painted = 0;
        com::guarded([&] { self->painter_.OnNotify(header, painted); });
        LRESULT answer = 0;
        if (self->tree_.on_notify(header, answer)) return answer;
        if (painted != 0) return painted;
    }
    return DefWindowProcW(window, msg, wp, lp);
}

}  // namespace test
