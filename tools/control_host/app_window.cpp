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

std::vector<std::wstring> command_line_arguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

}  // namespace host
