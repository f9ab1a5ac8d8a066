#include "kelpy/platform/mouse_pointer.h"

namespace kelpy::platform {

namespace {
// One pointer per user-interface thread, as the windows that show it belong to one thread.
struct ScreenPointer {
    MousePointer pointer = MousePointer::Default;
    HCURSOR icon = nullptr;
};
thread_local ScreenPointer screen;

void show() noexcept {
    if (screen.pointer == MousePointer::Custom && screen.icon) SetCursor(screen.icon);
    else SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */));
}
}  // namespace

void SetMouseIcon(HCURSOR icon) noexcept {
    if (screen.icon == icon) return;
    screen.icon = icon;
    if (screen.pointer == MousePointer::Custom) show();
}

HCURSOR MouseIcon() noexcept { return screen.icon; }

void SetMousePointer(MousePointer pointer) noexcept {
    // Setting the pointer it already is shows nothing new (a drag sets it on every move).
    if (screen.pointer == pointer) return;
    screen.pointer = pointer;
    show();
}

MousePointer GetMousePointer() noexcept { return screen.pointer; }

bool ShowCustomPointer() noexcept {
    if (screen.pointer != MousePointer::Custom || !screen.icon) return false;
    SetCursor(screen.icon);
    return true;
}

}  // namespace kelpy::platform
