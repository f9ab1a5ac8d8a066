// Map documents saved as files, replaced atomically (json/json_file.h reads them). A failure
// raises an error (the Win32 status) whose description names the file and says what went wrong.
#pragma once
#include <string>
#include <string_view>

namespace mapmodel::document {

// Writes the bytes beside the file (a new file in the same folder), flushes them to the disk
// and renames the new file over the old one (MoveFileExW, replacing it, write-through). On any
// failure the old file stays as it was, byte for byte, and the new file is removed. A folder
// or a read-only file is refused before anything is written.
void replace_document(const std::wstring& path, std::string_view bytes);

}  // namespace mapmodel::document
