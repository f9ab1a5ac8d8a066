// The font of a window shown at a resolution other than the system's (a window on another
// monitor than the main one): the window's own font, which the system made for its resolution,
// scaled to the window's. At the system's resolution the window keeps its own font.
#pragma once
#include <windows.h>
#include "kelpy/platform/dpi.h"
#include "win/handles.h"

namespace kelpy::platform {

class DpiFont {
public:
    DpiFont() = default;
    DpiFont(const DpiFont&) = delete;
    DpiFont& operator=(const DpiFont&) = delete;

    // Gives `window` its font for `dpi`. The font made lives until the next call or the end of
    // this object, which must outlive the window's use of it.
    void Apply(HWND window, Dpi dpi);

private:
    HFONT own_ = nullptr;  // the window's own font, not owned (null: the system font)
    win::Font scaled_;
};

}  // namespace kelpy::platform
