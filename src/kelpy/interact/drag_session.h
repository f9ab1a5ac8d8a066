// DragSession: what a running layer drag holds — the mouse capture of the tree window, the
// auto-scroll timer tToc, the screen's custom pointer and the tree's insert mark — and gives back
// when the drag ends, whichever way it ends: a drop, a drop that finds nothing to move or whose
// map call fails, or the control's window going away. The clean-up is the destructor's, so no
// path can leave any of them behind.
//
// The interaction keeps the session while m_bDragging is True: starting one sets the flag, capturing
// the mouse for the tree and switching the timer on (the session follows the capture through the
// tree's WM_CAPTURECHANGED, so a move asks the system for nothing while the tree keeps it); ending it clears the flag and then, in this
// order, shows the default pointer, forgets the item with the mark (m_pInsertMarkNode), releases
// the capture, removes the mark (TVM_SETINSERTMARK with no item) and switches the timer off.
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

    // Captures the mouse for the tree again (every move of the drag does) when the tree lost it.
    void Capture() noexcept;
    // The tree's WM_CAPTURECHANGED: another window (or none) has the mouse now.
    void CaptureLost() noexcept { captured_ = false; }
    HWND tree() const noexcept { return tree_; }

private:
    HWND tree_;
    Members members_;
    bool captured_ = false;
};

}  // namespace kelpy::interact
