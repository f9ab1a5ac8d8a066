// Timer: a Windows timer on a window, which the window's procedure receives as WM_TIMER with
// the timer's id. It can be switched on and off; it stops when the owner ends or the window goes.
#pragma once
#include <windows.h>

namespace kelpy::platform {

class Timer {
public:
    Timer(UINT_PTR id, UINT interval_ms) noexcept : id_(id), interval_(interval_ms) {}
    ~Timer() { Enabled(false); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Attaches the timer to its window (keeping its enabled state); null detaches it, for a
    // window that is gone.
    void Attach(HWND window);
    void Enabled(bool on);
    bool Enabled() const noexcept { return enabled_; }
    UINT_PTR id() const noexcept { return id_; }

private:
    void apply() noexcept;
    HWND window_ = nullptr;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_ = false;
};

}  // namespace kelpy::platform
