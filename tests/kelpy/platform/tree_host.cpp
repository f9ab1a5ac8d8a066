#include "kelpy/platform/tree_host.h"
#include <cstdio>
#include "com/bstr.h"

namespace test {

namespace {
LRESULT CALLBACK parent_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    auto* host = reinterpret_cast<TreeHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host && msg == WM_NOTIFY) {
        LRESULT result = 0;
        if (host->tree.on_notify(*reinterpret_cast<const NMHDR*>(lp), result)) return result;
    }
    return DefWindowProcW(window, msg, wp, lp);
}

const wchar_t* parent_class() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = parent_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KelpyTestTreeHost";
        RegisterClassW(&wc);
        return L"KelpyTestTreeHost";
    }();
    return name;
}
}  // namespace

win::Bitmap solid_picture(COLORREF colour) {
    const win::WindowDC screen(nullptr);
    win::Bitmap bmp(CreateCompatibleBitmap(screen.get(), 16, 16));
    const win::MemoryDC dc(CreateCompatibleDC(screen.get()));
    const win::Selection selected(dc.get(), bmp.get());
    RECT all{0, 0, 16, 16}, corner{0, 0, 4, 4};
    const win::Brush fill(CreateSolidBrush(colour)), mask(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc.get(), &all, fill.get());
    FillRect(dc.get(), &corner, mask.get());
    return bmp;
}

TreeHost::TreeHost() {
    parent = CreateWindowExW(0, parent_class(), L"tree host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 400,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    for (auto [key, colour] : {std::pair{L"a", RGB(255, 0, 0)}, std::pair{L"b", RGB(0, 255, 0)}, std::pair{L"c", RGB(0, 0, 255)}}) {
        images.Add(key, solid_picture(colour).get());
    }
    tree.SetImageList(&images);
    tree.SetEvents(this);
    RECT client{};
    GetClientRect(parent, &client);
    tree.Create(parent, 1, client, kelpy::platform::TreeView::default_style | WS_VISIBLE);
}

TreeHost::~TreeHost() {
    tree.SetEvents(nullptr);
    SetWindowLongPtrW(parent, GWLP_USERDATA, 0);
    DestroyWindow(parent);
}

void TreeHost::mouse(const char* what, int16_t button, int16_t shift, POINT at) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %d %d %ld %ld", what, button, shift, long(at.x), long(at.y));
    events.emplace_back(text);
}

void TreeHost::MouseDown(int16_t b, kelpy::platform::ShiftMask s, POINT at) { mouse("down", b, s, at); }
void TreeHost::MouseMove(int16_t b, kelpy::platform::ShiftMask s, POINT at) { mouse("move", b, s, at); }
void TreeHost::MouseUp(int16_t b, kelpy::platform::ShiftMask s, POINT at, bool& handled) {
    mouse("up", b, s, at);
    handled = take_releases;
}
void TreeHost::KeyDown(WPARAM key, LPARAM, bool system, bool& handled) {
    events.push_back((system ? "syskey " : "key ") + std::to_string(key));
    handled = key == taken_key;
}
void TreeHost::CaptureChanged(HWND to) { events.push_back(to ? "capture lost to a window" : "capture lost"); }
void TreeHost::Expand(const kelpy::platform::NodePtr& node) { events.push_back("expand " + com::narrow(node->Text())); }
void TreeHost::Collapse(const kelpy::platform::NodePtr& node) { events.push_back("collapse " + com::narrow(node->Text())); }

}  // namespace test
