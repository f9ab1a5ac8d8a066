#include "mouse_watch.h"
#include <algorithm>
#include <utility>
#include <vector>
#include "com/error.h"

namespace viewer {

namespace {

struct Watchers {
    HHOOK hook = nullptr;
    std::vector<std::pair<HWND, UINT>> windows;
};
thread_local Watchers watchers;

bool watched(WPARAM msg) {
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP:
        return true;
    default:
        return false;
    }
}

// Called as the thread takes a mouse message from its queue; HC_ACTION when it is removed from
// the queue to be handled (not when it is only looked at).
LRESULT CALLBACK on_mouse(int code, WPARAM msg, LPARAM data) {
    if (code == HC_ACTION && watched(msg))
        for (const auto& [window, message] : watchers.windows) PostMessageW(window, message, msg, 0);
    return CallNextHookEx(nullptr, code, msg, data);
}

}  // namespace

MouseWatch::MouseWatch(HWND window, UINT message) : window_(window), message_(message) {
    if (!watchers.hook) {
        watchers.hook = SetWindowsHookExW(WH_MOUSE, on_mouse, nullptr, GetCurrentThreadId());
        if (!watchers.hook) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not watch the mouse");
    }
    watchers.windows.emplace_back(window, message);
}

MouseWatch::~MouseWatch() {
    std::erase(watchers.windows, std::pair{window_, message_});
    if (watchers.windows.empty() && watchers.hook) {
        UnhookWindowsHookEx(watchers.hook);
        watchers.hook = nullptr;
    }
}

}  // namespace viewer
