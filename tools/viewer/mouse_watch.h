// MouseWatch: tells a window of every mouse button pressed or released, and every move of the
// mouse, in the windows of this thread, by a message posted to it (the mouse's message in wParam),
// which arrives once the press, release or move has been handled. One hook of the thread (WH_MOUSE) serves every watch of the thread;
// it lives while a watch does.
#pragma once
#include <windows.h>

namespace viewer {

class MouseWatch {
public:
    MouseWatch(HWND window, UINT message);
    ~MouseWatch();
    MouseWatch(const MouseWatch&) = delete;
    MouseWatch& operator=(const MouseWatch&) = delete;

private:
    HWND window_;
    UINT message_;
};

}  // namespace viewer
