// The screen's mouse pointer, as the control's container offers it: the default pointer, or a
// custom icon that the thread's windows show instead of their own pointers until the default
// comes back (a layer drag shows its direction this way).
//
// Setting another pointer or icon shows it at once (SetCursor); setting the same again does
// nothing. Windows ask for their pointer again with
// WM_SETCURSOR whenever the mouse moves over them uncaptured; a window procedure that offers
// the message to ShowCustomPointer first keeps the custom icon on screen. While a window holds
// the mouse capture no WM_SETCURSOR is sent, so the icon set last stays.
#pragma once
#include <windows.h>

namespace kelpy::platform {

enum class MousePointer { Default = 0, Custom = 99 };

// The icon shown while the pointer is custom (not owned: a cursor loaded from resources). A
// change shows at once when the pointer is custom.
void SetMouseIcon(HCURSOR icon) noexcept;
HCURSOR MouseIcon() noexcept;
void SetMousePointer(MousePointer pointer) noexcept;
MousePointer GetMousePointer() noexcept;

// For a window's WM_SETCURSOR: shows the custom icon and answers true when the pointer is
// custom; answers false (the window shows its own pointer) otherwise.
bool ShowCustomPointer() noexcept;

}  // namespace kelpy::platform
