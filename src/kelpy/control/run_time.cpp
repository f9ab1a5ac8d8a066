// The run-time start-up of the control. The expanded-state memory is made once, at the first
// start, and kept for the control's life. The window part is done for every window the control
// gets: a container may deactivate the control in place (which destroys its window, the tree
// and the tree's items with it) and activate it again in a new window, which must show the same
// control: the tree shown and filling the control, both windows hooked, the tree styles, and
// the map's tree rebuilt when a map is set.
#include "kelpy/control/toc.h"
#include "com/error.h"
#include "kelpy/platform/window_hooks.h"

namespace kelpy {

void Toc::StartRunTime() {
    if (!m_hWnd) com::raise(E_UNEXPECTED, L"The control has no window to start");
    if (m_bWindowStarted) return;
    tvwTOC.Visible(true);
    UserControl_Resize();
    basTOC::HookWindows(this, tvwTOC.hWnd(), m_hWnd);
    // Lines at the root (when the tree draws lines) and item heights that may be odd; items
    // taller than one row get their heights one by one (integral heights).
    HWND tree = tvwTOC.hWnd();
    SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) | TVS_LINESATROOT | TVS_NONEVENHEIGHT);
    if (!m_bRunTimeStarted) {
        m_builder.CreateMemory();
        m_bRunTimeStarted = true;
    }
    m_bWindowStarted = true;
    // A new window has an empty tree; a control that shows a map shows it again. A failing
    // rebuild leaves the window started, as a failing Initialize does.
    if (m_pMap) com::check(Reset());
}

}  // namespace kelpy
