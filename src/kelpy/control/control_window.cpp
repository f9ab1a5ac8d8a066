// The control's own window: a window of the control's class, parent of the tree window tvwTOC,
// owner of the timer tToc. Its class's procedure is the one route of its messages: it hands the
// tree's notifications, in one place, to the painter (custom draw, while the control listens) and
// to the tree (Expand and Collapse, label edits, tips, the selection), the timer's ticks to
// tToc_Timer, sizing and painting to the container life cycle, and a change of its resolution to
// FollowDpi.
#include "kelpy/control/toc.h"
#include "com/error.h"
#include "com/module.h"
#include "kelpy/platform/handler.h"

namespace kelpy {

namespace {
constexpr wchar_t window_class[] = L"KelpyTocControl";
constexpr int tree_id = 1;

// Registers the window class, or registers it again when a class of that name is left from an
// earlier load of the library with another window procedure.
void register_window_class(WNDPROC proc) {
    const HINSTANCE instance = com::Module::handle();
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, window_class, &existing)) {
        if (existing.lpfnWndProc == proc) return;
        UnregisterClassW(window_class, instance);
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = window_class;
    if (!RegisterClassExW(&wc)) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not register the control's window class");
}
}  // namespace

HWND Toc::CreateControlWindow(HWND parent, const RECT& bounds) {
    if (m_hWnd) com::raise(E_UNEXPECTED, L"The control already has a window");
    register_window_class(&Toc::WindowProc);
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS
                               : WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
    HWND window = CreateWindowExW(0, window_class, L"KELPY TOC", style, bounds.left, bounds.top,
                                  bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                                  com::Module::handle(), this);
    if (!window) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not create the control's window");
    m_hWnd = window;
    try {
        RECT client{};
        GetClientRect(window, &client);
        tvwTOC.Create(window, tree_id, client);
        tToc.Attach(window);
        FollowDpi();
    } catch (...) {
        DestroyControlWindow();
        throw;
    }
    return window;
}

void Toc::DestroyControlWindow() noexcept {
    if (!m_hWnd) return;
    HWND window = m_hWnd;
    // The window no longer reaches the control while it is destroyed.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    OnWindowGone();
    DestroyWindow(window);
}

void Toc::OnWindowGone() noexcept {
    // A drag that runs gives back what it holds while the timer still has its window.
    Listen(false);
    m_interaction.EndDrag();
    tToc.Attach(nullptr);
    m_hWnd = nullptr;
    m_bWindowStarted = false;
}

LRESULT CALLBACK Toc::WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Toc*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, msg, wp, lp);
    // The control lives at least until the message is handled, even if a handler releases it.
    com::ComPtr<Toc> keep(self);
    return self->OnWindowMessage(window, msg, wp, lp);
}

LRESULT Toc::OnWindowMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY:
        if (lp) return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
        break;
    case WM_TIMER:
        if (wp == tToc.id()) {
            platform::run_handler(L"tToc_Timer", [&] { m_interaction.tToc_Timer(); });
            return 0;
        }
        break;
    case WM_SIZE:
        // The window is sized once before its tree exists.
        if (tvwTOC.hWnd()) platform::run_handler(L"UserControl_Resize", [&] { UserControl_Resize(); });
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        platform::run_handler(L"UserControl_Paint", [&] { UserControl_Paint(dc); });
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DPICHANGED:
    case WM_DPICHANGED_AFTERPARENT:
        // The window now shows on a monitor of another resolution.
        if (tvwTOC.hWnd()) platform::run_handler(L"FollowDpi", [&] { FollowDpi(); });
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        OnWindowGone();
        break;
    default:
        break;
    }
    return DefWindowProcW(window, msg, wp, lp);
}

// The painter answers the tree's custom draw; the tree consumes its label edits and tips and
// hears of every other notification of its own (an answer of 0, as DefWindowProc gives).
LRESULT Toc::OnNotify(const NMHDR& header) {
    LRESULT painted = 0;
    if (m_bListening) platform::run_handler(L"custom draw", [&] { m_painter.OnNotify(header, painted); });
    LRESULT answer = 0;
    if (tvwTOC.on_notify(header, answer)) return painted != 0 ? painted : answer;
    return painted;
}

}  // namespace kelpy
