// What the tools' windows and programs share: their window classes, registered once per
// process, and the program's arguments as Windows gives them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace host {

// Registers the window class `name` of this program (the arrow cursor, `background` and `icon`
// when given) unless it already is; raises with `what` when it cannot be registered.
void register_window_class(const wchar_t* name, WNDPROC proc, HBRUSH background, HICON icon, const wchar_t* what);

// The program's arguments, without its own name.
std::vector<std::wstring> command_line_arguments();

// Declares the process aware of each monitor's resolution, as a high-DPI application does (call
// it before the first window): its windows then get their monitor's resolution instead of being
// shown at 96 dpi, enlarged by the system. False when the system refused.
bool declare_dpi_aware();
// The system's resolution as this process sees it (the screen's logical pixels per inch).
int screen_dpi();

}  // namespace host
