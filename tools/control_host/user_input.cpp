#include "user_input.h"
#include <iterator>
#include <vector>
#include "com/error.h"
#include "tree_reader.h"
#include "win/message_pump.h"

namespace host {

namespace {
// Queues one mouse input; the thread's messages run afterwards unless `pump` is false.
void send(DWORD flags, LONG dx = 0, LONG dy = 0, bool pump = true) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = dx;
    input.mi.dy = dy;
    if (SendInput(1, &input, sizeof input) != 1)
        com::raise(HRESULT_FROM_WIN32(GetLastError()), L"The mouse input was not taken");
    if (pump) pump_messages();
}

DWORD down(Button b) {
    return b == Button::Left ? MOUSEEVENTF_LEFTDOWN : b == Button::Right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_MIDDLEDOWN;
}
DWORD up(Button b) {
    return b == Button::Left ? MOUSEEVENTF_LEFTUP : b == Button::Right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_MIDDLEUP;
}

// Absolute positions go in 65536ths of the primary screen, rounded so that the system maps them
// back to the very pixel.
LONG normalized(LONG pixel, int screen) { return LONG((LONGLONG(pixel) * 65536 + screen - 1) / screen); }
}  // namespace

void move_mouse(POINT screen) {
    send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, normalized(screen.x, GetSystemMetrics(SM_CXSCREEN)),
         normalized(screen.y, GetSystemMetrics(SM_CYSCREEN)));
}

void press(Button button) { send(down(button), 0, 0, false); }

void release(Button button) { send(up(button)); }

void click(POINT screen, Button button) {
    move_mouse(screen);
    press(button);
    release(button);
}

void drag(POINT from, POINT to, int steps, Button button) {
    move_mouse(from);
    press(button);
    for (int i = 1; i <= steps; ++i)
        move_mouse({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    release(button);
}

void press_key(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD m : modifiers) add(m, false);
    add(key, false);
    add(key, true);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) add(*m, true);
    if (SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        com::raise(HRESULT_FROM_WIN32(GetLastError()), L"The keyboard input was not taken");
    pump_messages();
}

void type_text(std::wstring_view text) {
    for (wchar_t c : text) {
        const SHORT key = VkKeyScanW(c);
        if (key == -1) com::raise(E_INVALIDARG, L"The keyboard has no key for a character to type");
        if (HIBYTE(key) & ~1) com::raise(E_INVALIDARG, L"A character to type needs more than Shift");
        if (HIBYTE(key) & 1) press_key(LOBYTE(key), {VK_SHIFT});
        else press_key(LOBYTE(key));
    }
}

void turn_wheel(int clicks) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = DWORD(clicks * WHEEL_DELTA);
    if (SendInput(1, &input, sizeof input) != 1)
        com::raise(HRESULT_FROM_WIN32(GetLastError()), L"The wheel input was not taken");
    pump_messages();
}

void pump_messages(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (win::DoEvents()) {
        const DWORD now = GetTickCount();
        if (ms == 0 || LONG(end - now) <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}

POINT point_on_item(HWND tree, HTREEITEM item, UINT flags) {
    const RECT row = item_rect(tree, item, false);
    if (IsRectEmpty(&row)) com::raise(E_INVALIDARG, L"The item is not shown");
    const LONG y = (row.top + row.bottom) / 2;
    LONG first = -1, last = -1;
    for (LONG x = row.left; x < row.right; ++x) {
        TVHITTESTINFO test{};
        test.pt = {x, y};
        SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
        if (test.hItem != item || test.flags != flags) {
            if (first >= 0) break;
            continue;
        }
        if (first < 0) first = x;
        last = x;
    }
    if (first < 0) com::raise(E_INVALIDARG, L"The item's row has no such part");
    POINT p{(first + last) / 2, y};
    ClientToScreen(tree, &p);
    return p;
}

}  // namespace host
