#include "mapmodel/json/json_file.h"
#include <windows.h>
#include <algorithm>
#include <cwctype>
#include "com/error.h"
#include "win/handles.h"

namespace mapmodel::json {

namespace {

bool is_folder(DWORD a) { return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY); }

HRESULT status(DWORD error) { return HRESULT_FROM_WIN32(error ? error : ERROR_GEN_FAILURE); }

// "<path>: <doing>: <why>", with the status of the Win32 error.
[[noreturn]] void fail(const std::wstring& path, const std::wstring& doing, DWORD error, const std::wstring& why) {
    com::raise(status(error), path + L": " + doing + L": " + why);
}

// The same for the call that has just failed, in the system's own words.
[[noreturn]] void failed(const std::wstring& path, const std::wstring& doing) {
    const DWORD error = GetLastError();
    fail(path, doing, error, com::describe(status(error)));
}

std::wstring upper(std::wstring_view s) {
    std::wstring u(s);
    for (wchar_t& c : u) c = wchar_t(std::towupper(c));
    return u;
}

// A path with its slashes as backslashes, in capitals, for comparing prefixes.
std::wstring comparable(const std::wstring& path) {
    std::wstring p = upper(path);
    std::replace(p.begin(), p.end(), L'/', L'\\');
    return p;
}

// The namespaces that pass a path to the system's object manager: \\.\ (devices), and \\?\ and
// \??\, which take the rest as it stands.
bool in_device_namespace(std::wstring_view p) { return p.starts_with(L"\\\\.\\"); }
bool verbatim(std::wstring_view p) { return p.starts_with(L"\\\\?\\") || p.starts_with(L"\\??\\"); }

// A verbatim path names a file on a disk as \\?\X:\... or \\?\UNC\server\share\...
bool verbatim_disk_path(std::wstring_view p) {
    const std::wstring_view rest = p.substr(4);
    const bool drive = rest.size() >= 3 && rest[0] >= L'A' && rest[0] <= L'Z' && rest[1] == L':' && rest[2] == L'\\';
    return drive || rest.starts_with(L"UNC\\");
}

// Whether the last part of a path is a device's reserved name: in any folder and with any
// extension ("LPT1.json"), and with trailing dots or spaces, CON, PRN, AUX, NUL, COM0 to COM9,
// LPT0 to LPT9 (and with the superscript digits 1 to 3), CONIN$ and CONOUT$ name the device.
bool device_name(const std::wstring& comparable_path) {
    std::wstring_view name(comparable_path);
    if (const size_t slash = name.find_last_of(L'\\'); slash != std::wstring_view::npos) name.remove_prefix(slash + 1);
    if (name.size() >= 2 && name[1] == L':') name.remove_prefix(2);  // "C:CON"
    name = name.substr(0, name.find_first_of(L".:"));
    while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
    for (const wchar_t* reserved : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (name == reserved) return true;
    if (name.size() != 4 || !(name.starts_with(L"COM") || name.starts_with(L"LPT"))) return false;
    const wchar_t digit = name[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

}  // namespace

std::wstring full_path_of(const std::wstring& path) {
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    const DWORD got = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n) return path;
    full.resize(got);
    return full;
}

std::wstring not_a_disk_file(const std::wstring& path) {
    const std::wstring given = comparable(path);
    if (in_device_namespace(given)) return L"a path in the \\\\.\\ namespace names a device";
    if (verbatim(given)) {
        if (verbatim_disk_path(given)) return {};
        return L"a \\\\?\\ path names a file on a disk only as \\\\?\\X:\\... or \\\\?\\UNC\\...";
    }
    const std::wstring full = comparable(full_path_of(path));
    if (in_device_namespace(full) || verbatim(full) || device_name(given) || device_name(full))
        return L"its name is that of a device (" + full_path_of(path) + L")";
    return {};
}

std::string read_file(const std::wstring& path, std::wstring_view what) {
    const std::wstring doing = L"cannot open the " + std::wstring(what), reading = L"cannot read the " + std::wstring(what);
    if (const std::wstring why = not_a_disk_file(path); !why.empty())
        fail(path, doing, ERROR_BAD_FILE_TYPE, L"it is not a file on a disk: " + why);
    if (is_folder(GetFileAttributesW(path.c_str())))
        fail(path, doing, ERROR_ACCESS_DENIED, L"it is a folder, not a " + std::wstring(what));
    win::File f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) failed(path, doing);
    if (GetFileType(f.get()) != FILE_TYPE_DISK)
        fail(path, doing, ERROR_BAD_FILE_TYPE, L"it is not a file on a disk: it opens as a device or a pipe");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size)) failed(path, reading);
    constexpr LONGLONG kLargest = 1LL << 30;
    if (size.QuadPart > kLargest) fail(path, doing, ERROR_FILE_TOO_LARGE, L"the file is larger than 1 GB");
    std::string bytes(size_t(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(f.get(), bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr)) failed(path, reading);
        if (got == 0) break;  // the file got shorter while being read
        done += got;
    }
    bytes.resize(done);
    // A UTF-8 byte order mark is allowed.
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    return bytes;
}

}  // namespace mapmodel::json
