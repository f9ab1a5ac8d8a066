// JSON files on a disk, as map documents and data files name them. A file is read only when it is
// a file on a disk (a local one or one on a network share): a path whose full form names a device
// (CON, NUL, COM1, CONIN$, LPT1.json, with any trailing dots or spaces), a path in the \\.\
// namespace, and a \\?\ path other than \\?\X:\ and \\?\UNC\ are refused before anything is
// opened, and a handle that turns out not to be a disk file (a link to a device, a pipe) is
// refused before anything is read: reading a device can block the thread for good.
#pragma once
#include <string>
#include <string_view>

namespace mapmodel::json {

// The full form of a path (relative to the current folder); the path itself when it has none.
std::wstring full_path_of(const std::wstring& path);

// Why a path cannot name a file on a disk ("CON names a device, ..."), or empty when it can.
std::wstring not_a_disk_file(const std::wstring& path);

// The bytes of a file, without a UTF-8 byte order mark. A missing file, a folder, a device or an
// unreadable file is an error ("<path>: cannot open the <what>: ..."; `what` is "document" or,
// say, "data file").
std::string read_file(const std::wstring& path, std::wstring_view what);

}  // namespace mapmodel::json
