// Texts the viewer shows: its name, a document's file name, the reason of an error, what lies
// under the mouse in the control, and the map's scale.
#pragma once
#include <string>
#include "com/error.h"
#include "kelpy.h"

namespace viewer {

constexpr wchar_t app_name[] = L"KELPY Viewer";

// The last part of a path: "C:\maps\bay.json" gives "bay.json".
std::wstring file_name(const std::wstring& path);
// What an error says: its description, else the system's text for its status.
std::wstring reason(const com::ComError& e);
// An item of the control and the part of its row, for the status bar: `Layer "Roads" (label)`;
// empty for no item.
std::wstring item_text(_TOCItemInfo* item);
// A scale denominator as "1:N", N a whole number with the digits grouped as the user's locale
// groups them ("1:25,000,000").
std::wstring scale_text(double denominator);

}  // namespace viewer
