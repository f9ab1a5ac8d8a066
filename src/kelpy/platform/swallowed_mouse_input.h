// SwallowedMouseInput: catches the mouse messages of a window that a modal loop takes off the
// thread's queue without dispatching them, and puts them back afterwards.
//
// The native tree view runs such a loop while it handles a button press (it waits, with the
// mouse captured, for the release or for a move that starts a drag). Live from just before the
// press is handed to the native tree until just after; it watches every message retrieved on
// the thread (a WH_GETMESSAGE hook) and keeps the mouse moves, presses and releases of its window
// that are retrieved while the window holds the mouse capture, which is when that loop runs.
// repost() posts them to the window again, in order.
#pragma once
#include <windows.h>
#include <vector>

namespace kelpy::platform {

class SwallowedMouseInput {
public:
    explicit SwallowedMouseInput(HWND window);
    ~SwallowedMouseInput();
    SwallowedMouseInput(const SwallowedMouseInput&) = delete;
    SwallowedMouseInput& operator=(const SwallowedMouseInput&) = delete;

    // Posts the caught messages to the window again; stops watching.
    void repost() noexcept;

private:
    static LRESULT CALLBACK hook_proc(int code, WPARAM removed, LPARAM message);
    void stop() noexcept;

    HWND window_;
    HHOOK hook_ = nullptr;
    SwallowedMouseInput* outer_ = nullptr;  // a press handled inside another one's loop
    std::vector<MSG> caught_;
};

}  // namespace kelpy::platform
