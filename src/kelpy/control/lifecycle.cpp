// The control's life in its container. The container loads the control (or initialises it as
// new) and activates it in place; once both have happened, the OLE control protocol starts the
// control's window in the container's user mode (OleStart): at run time the tree is shown and
// the windows' input reaches the subsystems (StartRunTime), at design time the tree stays hidden
// and the control paints its caption. A container that deactivates the control in place and activates it again
// gives it a new window, which starts the same way in the mode found first.
//
// The run-time start-up: the expanded-state memory is made once, at the first start, and kept
// for the control's life. The window part is done for every window the control gets (a new
// window has an empty tree and must show the same control): the tree shown and filling the
// control, the windows' input handed to the interaction and the painter, the tree styles, and
// the map's tree rebuilt when a map is set. Resizing makes the tree fill the control; Terminate
// ends the hand-over.
#include "kelpy/control/toc.h"
#include <commctrl.h>
#include "com/error.h"
#include "kelpy/platform/version.h"

namespace kelpy {

void Toc::OleStart(bool designMode) {
    if (designMode) {
        tvwTOC.Visible(false);
        InvalidateRect(m_hWnd, nullptr, TRUE);
    } else {
        StartRunTime();
    }
}

// The control's picture: what the window shows, the tree printed through WM_PRINT (legend rows
// through the same custom draw as on screen), or at design time the caption.
void Toc::OlePaintPicture(HDC dc, const RECT& size) {
    HWND tree = tvwTOC.hWnd();
    if (DesignMode()) {
        PaintCaption(dc, size);
    } else if (tree && IsWindowVisible(tree)) {
        SendMessageW(tree, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    }
}

void Toc::StartRunTime() {
    if (!m_hWnd) com::raise(E_UNEXPECTED, L"The control has no window to start");
    if (m_bWindowStarted) return;
    tvwTOC.Visible(true);
    UserControl_Resize();
    Listen(true);
    // Lines at the root (when the tree draws lines) and item heights that may be odd; items
    // taller than one row get their heights one by one (integral heights).
    HWND tree = tvwTOC.hWnd();
    SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) | TVS_LINESATROOT | TVS_NONEVENHEIGHT);
    ApplyTreeStyles();
    if (!m_bRunTimeStarted) {
        m_builder.CreateMemory();
        m_bRunTimeStarted = true;
    }
    m_bWindowStarted = true;
    // A new window has an empty tree; a control that shows a map shows it again. A failing
    // rebuild leaves the window started, as a failing Initialize does.
    if (m_pMap) com::check(Reset());
}

void Toc::UserControl_Resize() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    tvwTOC.Move(0, 0, client.right, client.bottom);
}

void Toc::UserControl_Paint(HDC hdc) {
    if (!DesignMode()) return;
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    PaintCaption(hdc, RECT{0, 0, window.right - window.left, window.bottom - window.top});
}

void Toc::PaintCaption(HDC dc, const RECT& bounds) const {
    FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const std::wstring caption = DesignCaption();
    RECT r = bounds;
    DrawTextW(dc, caption.c_str(), int(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

std::wstring Toc::DesignCaption() {
    const platform::LibraryVersion v = platform::Version();
    return L"KELPY Control " + std::to_wstring(v.major) + L"." + std::to_wstring(v.minor) + L"." +
           std::to_wstring(v.revision);
}

void Toc::Terminate() noexcept { Listen(false); }

void Toc::Listen(bool on) noexcept {
    m_bListening = on;
    tvwTOC.SetEvents(on ? &m_interaction : nullptr);
}

}  // namespace kelpy
