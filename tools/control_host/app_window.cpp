#include "app_window.h"
#include <shellapi.h>
#include "com/error.h"

namespace host {

void register_window_class(const wchar_t* name, WNDPROC proc, HBRUSH background, HICON icon, const wchar_t* what) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.hIcon = icon;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not register " + std::wstring(what));
}

bool declare_dpi_aware() {
    // SetProcessDpiAwarenessContext is looked up at run time: older systems lack it, and have
    // only the system-wide awareness.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, else the first version (some systems know
    // only that one).
    if (set) {
        for (const LONG_PTR context : {-4, -3})
            if (set(reinterpret_cast<HANDLE>(context))) return true;
    }
    return SetProcessDPIAware() != FALSE;
}

int screen_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

std::vector<std::wstring> command_line_arguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

}  // namespace host
