// DragSession: what a running layer drag holds — the mouse capture of the tree window, the
// auto-scroll timer tToc, the screen's custom pointer and the tree's insert mark — and gives back
// when the drag ends, whichever way it ends: a drop, a drop that finds nothing to move or whose
// map call fails, or the control's window going away. The clean-up is the destructor's, so no
// path can leave any of them behind.
//
// The interaction keeps the session while m_bDragging is True: starting one sets the flag, captures
// the mouse for the tree and switches the timer on; ending it clears the flag and then, in this
// order, shows the default pointer, forgets the item with the mark (m_pInsertMarkNode), releases
// the capture, removes the mark (TVM_SETINSERTMARK with no item) and switches the timer off. The
// capture is the drag's: when another window takes it (a pop-up, a modal dialog, a switch to
// another program), the interaction ends the session at once, so a drag never runs on while
// another window owns the mouse.
#pragma once
#include <windows.h>
#include "kelpy/platform/node.h"
#include "kelpy/platform/timer.h"

namespace kelpy::interact {

class DragSession {
public:
    // The interaction's members that the drag holds for its duration.
    struct Members {
        bool& dragging;                      // m_bDragging
        platform::NodePtr& insertMarkNode;  // m_pInsertMarkNode
        platform::Timer& timer;             // tToc
    };

    DragSession(HWND tree, Members members);
    ~DragSession();
    DragSession(const DragSession&) = delete;
    DragSession& operator=(const DragSession&) = delete;

    HWND tree() const noexcept { return tree_; }

private:
    HWND tree_;
    Members members_;
};

}  // namespace kelpy::interact
