// The run-time start-up of the control, done once when the container loads the control from
// saved state or initialises it as new, whichever comes first.
#include "kelpy/control/toc.h"
#include "com/error.h"
#include "kelpy/platform/window_hooks.h"

namespace kelpy {

void Toc::StartRunTime() {
    if (m_bRunTimeStarted) return;
    if (!m_hWnd) com::raise(E_UNEXPECTED, L"The control has no window to start");
    tvwTOC.Visible(true);
    basTOC::HookWindows(this, tvwTOC.hWnd(), m_hWnd);
    // Lines at the root (when the tree draws lines) and item heights that may be odd; items
    // taller than one row get their heights one by one (integral heights).
    HWND tree = tvwTOC.hWnd();
    SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) | TVS_LINESATROOT | TVS_NONEVENHEIGHT);
    m_aNodeStates.Redim(1);
    m_aNodeStates.Set(0, L"", true);
    m_aNodeStates.Set(1, L"", false);
    m_bRunTimeStarted = true;
}

}  // namespace kelpy
