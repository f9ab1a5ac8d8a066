#include "kelpy/platform/timer.h"
#include "com/error.h"

namespace kelpy::platform {

void Timer::Attach(HWND window) {
    if (window_ && window_ != window && IsWindow(window_)) KillTimer(window_, id_);
    window_ = window;
    apply();
}

void Timer::Enabled(bool on) {
    enabled_ = on;
    apply();
}

void Timer::apply() noexcept {
    if (!window_) return;
    if (enabled_) SetTimer(window_, id_, interval_, nullptr);
    else KillTimer(window_, id_);
}

}  // namespace kelpy::platform
