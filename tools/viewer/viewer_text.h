// Texts the viewer shows: its name, a document's file name, and the reason of an error.
#pragma once
#include <string>
#include "com/error.h"

namespace viewer {

constexpr wchar_t app_name[] = L"KELPY Viewer";

// The last part of a path: "C:\maps\bay.json" gives "bay.json".
std::wstring file_name(const std::wstring& path);
// What an error says: its description, else the system's text for its status.
std::wstring reason(const com::ComError& e);

}  // namespace viewer
