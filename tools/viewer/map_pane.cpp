#include "map_pane.h"
#include <windowsx.h>
#include <cmath>
#include <utility>
#include "com/boundary.h"
#include "com/error.h"
#include "app_window.h"
#include "picture.h"
#include "view_navigation.h"

namespace viewer {

namespace {
constexpr wchar_t window_class[] = L"KelpyViewerMap";
// A notch of the wheel zooms in by a quarter; a press of + by twice.
constexpr double wheel_step = 1.25, key_step = 2;

}  // namespace

MapPane::MapPane(HWND parent, std::function<void(const Extent&)> show) : show_(std::move(show)) {
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
    Refresh();
}

void MapPane::Refresh() {
    // The map's redraw paints the whole pane and tells those who follow the map (its scale
    // changes with the window), so the pane need not paint again; without a map, the hint.
    if (view_) {
        com::check(view_->Refresh());
        ValidateRect(window_, nullptr);
    } else {
        InvalidateRect(window_, nullptr, FALSE);
    }
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
        static_cast<MapPane*>(create->lpCreateParams)->window_ = window;  // before CreateWindowExW returns
    }
    auto* pane = reinterpret_cast<MapPane*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!pane) return DefWindowProcW(window, msg, wp, lp);
    LRESULT result = 0;
    com::guarded([&] { result = pane->OnMessage(msg, wp, lp); });  // the owner shows what failed to be shown
    return result;
}

LRESULT MapPane::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // the painting covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        com::guarded([&] { Paint(dc); });
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        com::guarded([&] { Paint(reinterpret_cast<HDC>(wp)); });
        return 0;
    case WM_SIZE:
        Refresh();
        return 0;
    case WM_MOUSEWHEEL: {
        // The pointer's place comes on the screen; a wheel turned with the pointer elsewhere
        // (the pane has the focus) zooms around the centre.
        POINT p = at;
        RECT client{};
        ScreenToClient(window_, &p);
        GetClientRect(window_, &client);
        if (!PtInRect(&client, p)) p = {client.right / 2, client.bottom / 2};
        Zoom(p, std::pow(wheel_step, GET_WHEEL_DELTA_WPARAM(wp) / double(WHEEL_DELTA)));
        return 0;
    }
    case WM_KEYDOWN: {
        RECT client{};
        GetClientRect(window_, &client);
        const POINT centre{client.right / 2, client.bottom / 2};
        switch (wp) {
        case VK_ADD: case VK_OEM_PLUS: Zoom(centre, key_step); return 0;
        case VK_SUBTRACT: case VK_OEM_MINUS: Zoom(centre, 1 / key_step); return 0;
        default: break;
        }
        break;
    }
    case WM_LBUTTONDOWN:
        StartDrag(at, WM_LBUTTONUP);
        return 0;
    case WM_MBUTTONDOWN:
        StartDrag(at, WM_MBUTTONUP);
        return 0;
    case WM_RBUTTONDOWN:
        SetFocus(window_);
        return 0;
    case WM_MOUSEMOVE:
        Drag(at);
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
        if (drag_ && drag_->release == msg) {
            Drag(at);
            ReleaseCapture();  // ends the drag (WM_CAPTURECHANGED)
        }
        return 0;
    case WM_CAPTURECHANGED:
        drag_.reset();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, msg, wp, lp);
}

std::optional<Extent> MapPane::Shown(SIZE& window) const {
    RECT client{};
    GetClientRect(window_, &client);
    window = {client.right, client.bottom};
    if (!view_ || window.cx <= 0 || window.cy <= 0) return std::nullopt;
    com::ComPtr<IEnvelope> envelope;
    com::check(view_->get_Extent(envelope.put()));
    const auto extent = extent_of(envelope.get());
    if (!extent) return std::nullopt;
    return fitted(*extent, window);
}

void MapPane::Zoom(POINT at, double factor) {
    SIZE window{};
    if (const auto shown = Shown(window)) {
        const Extent to = zoomed(*shown, window, at, factor);
        if (to != *shown) show_(to);
    }
}

// The pane takes the focus (for + and −) and the mouse, so that the drag goes on over other
// windows and ends with the button's release wherever it is.
void MapPane::StartDrag(POINT at, UINT release) {
    SetFocus(window_);
    if (drag_) return;  // the other button is dragging already
    SIZE window{};
    const auto shown = Shown(window);
    if (!shown) return;
    drag_ = Dragging{at, *shown, release, at};
    SetCapture(window_);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32646) /* IDC_SIZEALL */));  // until the release
}

// The extent is worked out from the drag's start each time, so that many small moves add up to
// exactly the distance dragged.
void MapPane::Drag(POINT at) {
    if (!drag_ || (at.x == drag_->last.x && at.y == drag_->last.y)) return;
    drag_->last = at;
    RECT client{};
    GetClientRect(window_, &client);
    const SIZE window{client.right, client.bottom};
    show_(panned(drag_->start, window, at.x - drag_->from.x, at.y - drag_->from.y));
}

}  // namespace viewer
