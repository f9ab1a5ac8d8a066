#include "map_pane.h"
#include "com/boundary.h"
#include "com/error.h"
#include "app_window.h"
#include "picture.h"

namespace viewer {

namespace {
constexpr wchar_t window_class[] = L"KelpyViewerMap";

}  // namespace

MapPane::MapPane(HWND parent) {
    host::register_window_class(window_class, &MapPane::WindowProc, nullptr, nullptr, L"the map window class");
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, window_class, L"Map", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                              parent, nullptr, GetModuleHandleW(nullptr), this);
    if (!window_) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not create the map window");
}

MapPane::~MapPane() {
    Show(nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void MapPane::Show(const com::ComPtr<IMapView>& view) {
    if (view_) view_->put_Window(0);  // the old view draws here no more
    view_ = view;
    if (view_) com::check(view_->put_Window(reinterpret_cast<LONG_PTR>(window_)));
    InvalidateRect(window_, nullptr, FALSE);
}

void MapPane::Refresh() {
    if (view_) com::check(view_->Refresh());
}

// The map at the window's size, drawn off screen by the view and copied in one piece (no
// flicker); a hint where there is no map.
void MapPane::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    win::DibCanvas picture(client.right, client.bottom);
    FillRect(picture.dc(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (view_) {
        com::check(view_->Output(reinterpret_cast<LONG_PTR>(picture.dc()), client.right, client.bottom));
    } else {
        const win::SavedState saved(picture.dc());
        SelectObject(picture.dc(), GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(picture.dc(), TRANSPARENT);
        SetTextColor(picture.dc(), GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(picture.dc(), L"Open a map document with File > Open, or add GeoJSON or TopoJSON data", -1, &client,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, picture.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK MapPane::WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* pane = reinterpret_cast<MapPane*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!pane) return DefWindowProcW(window, msg, wp, lp);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // the painting covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        com::guarded([&] { pane->Paint(dc); });
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        com::guarded([&] { pane->Paint(reinterpret_cast<HDC>(wp)); });
        return 0;
    case WM_SIZE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(window, msg, wp, lp);
    }
}

}  // namespace viewer
