// The resolution the control draws for. Lengths are designed in pixels at 96 dots per inch and
// scaled to the resolution of the window the control lives in: per monitor where the system
// knows that (GetDpiForWindow, looked up at run time, since older systems lack it), else the
// system's resolution (the screen's LOGPIXELSX).
#pragma once
#include <windows.h>
#include <concepts>

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace kelpy::platform {

class Dpi {
public:
    static constexpr int standard = 96;

    constexpr Dpi() noexcept = default;
    constexpr explicit Dpi(int dpi) noexcept : dpi_(dpi > 0 ? dpi : standard) {}
    // The resolution of the monitor the window is on, as the window's process sees it.
    static Dpi Of(HWND window) noexcept;
    // The system's resolution: the screen's logical pixels per inch.
    static Dpi System() noexcept;

    constexpr int value() const noexcept { return dpi_; }
    // A length in pixels at 96 dpi, at this resolution (whole pixels rounded to nearest, as
    // MulDiv does).
    template <std::integral T>
    T operator()(T pixels) const noexcept { return T(MulDiv(int(pixels), dpi_, standard)); }
    template <std::floating_point T>
    constexpr T operator()(T pixels) const noexcept { return pixels * dpi_ / standard; }
    friend constexpr bool operator==(Dpi, Dpi) = default;

private:
    int dpi_ = standard;
};

}  // namespace kelpy::platform
