#include "kelpy/interact/drag_session.h"
#include <commctrl.h>
#include "kelpy/platform/mouse_pointer.h"

namespace kelpy::interact {

DragSession::DragSession(HWND tree, Members members) : tree_(tree), members_(members) {
    members_.dragging = true;
    SetCapture(tree_);
    members_.timer.Enabled(true);
}

DragSession::~DragSession() {
    members_.dragging = false;
    platform::SetMousePointer(platform::MousePointer::Default);
    members_.insertMarkNode = nullptr;
    // Only the tree's own capture is given up; a capture that another window took meanwhile is
    // that window's.
    if (GetCapture() == tree_) ReleaseCapture();
    if (IsWindow(tree_)) SendMessageW(tree_, TVM_SETINSERTMARK, 0, 0);
    members_.timer.Enabled(false);
}

}  // namespace kelpy::interact
