// A person's mouse and keyboard, for the windows of this thread: input goes through the system's input queue
// (SendInput), as a person's does — moves to absolute screen positions, presses and releases
// with the button held in between — and the thread's messages run after every step, as the
// application's own message loop would run them. The window under the cursor gets the input
// (or the window that holds the capture), so the windows must be visible and on top there.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <initializer_list>
#include <string_view>

namespace host {

enum class Button { Left, Right, Middle };

void move_mouse(POINT screen);
// A press is handled together with the input that follows it: a tree view waits for the next
// mouse message inside its handling of a right-button press, so the thread's messages run only
// once that message is queued too.
void press(Button button);
void release(Button button);
// Moves there, presses and releases (the press and the release queued together, as a quick
// click is).
void click(POINT screen, Button button = Button::Left);
// Presses at `from`, moves to `to` in `steps` equal steps with the button held, releases there.
void drag(POINT from, POINT to, int steps = 4, Button button = Button::Left);

// A key pressed and released, with the modifier keys (VK_SHIFT, VK_MENU, VK_CONTROL) held
// around it, to the window that has the keyboard focus.
void press_key(WORD key, std::initializer_list<WORD> modifiers = {});

// Types the text, key by key, with Shift held for the characters that need it (as the keyboard
// layout maps them), to the window that has the keyboard focus.
void type_text(std::wstring_view text);

// The wheel turned by `clicks` notches (positive: away from the user).
void turn_wheel(int clicks);

// Runs the thread's pending messages; with `ms`, keeps running them (timers included) for that
// many milliseconds.
void pump_messages(DWORD ms = 0);

// A point of an item's row in a tree window, in screen coordinates, where the tree's own hit
// test answers `flags` (TVHT_ONITEMICON, TVHT_ONITEMLABEL, ...): the middle of that part of the
// row. Throws when the row shows no such part.
POINT point_on_item(HWND tree, HTREEITEM item, UINT flags);

}  // namespace host
