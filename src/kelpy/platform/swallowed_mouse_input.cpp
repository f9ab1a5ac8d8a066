#include "kelpy/platform/swallowed_mouse_input.h"

namespace kelpy::platform {

namespace {
thread_local SwallowedMouseInput* innermost = nullptr;

bool is_tracked(const MSG& m) noexcept {
    // Moves and the left and right button messages end or continue the native tree's loop;
    // everything else it dispatches itself.
    return m.message >= WM_MOUSEMOVE && m.message <= WM_RBUTTONDBLCLK;
}
}  // namespace

SwallowedMouseInput::SwallowedMouseInput(HWND window) : window_(window), outer_(innermost) {
    hook_ = SetWindowsHookExW(WH_GETMESSAGE, hook_proc, nullptr, GetCurrentThreadId());
    innermost = this;
}

SwallowedMouseInput::~SwallowedMouseInput() { stop(); }

void SwallowedMouseInput::stop() noexcept {
    if (!hook_) return;
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    innermost = outer_;
}

void SwallowedMouseInput::repost() noexcept {
    stop();
    for (const MSG& m : caught_) PostMessageW(window_, m.message, m.wParam, m.lParam);
    caught_.clear();
}

LRESULT CALLBACK SwallowedMouseInput::hook_proc(int code, WPARAM removed, LPARAM message) {
    if (code == HC_ACTION && removed == PM_REMOVE && innermost) {
        const MSG& m = *reinterpret_cast<const MSG*>(message);
        SwallowedMouseInput& self = *innermost;
        if (m.hwnd == self.window_ && is_tracked(m) && GetCapture() == self.window_) {
            try {
                self.caught_.push_back(m);
            } catch (...) {
            }
        }
    }
    return CallNextHookEx(nullptr, code, removed, message);
}

}  // namespace kelpy::platform
