// Registration helpers: the keys an in-process COM server writes for its classes and type
// library, and their removal. Every key written here is removed by the matching unregister.
#pragma once
#include <windows.h>
#include <windows.h>
#include <string>
#include <string_view>
#include <utility>

namespace com {

// An open registry key, closed by its destructor.
class RegKey {
public:
    RegKey() noexcept = default;
    explicit RegKey(HKEY k) noexcept : k_(k) {}
    RegKey(RegKey&& o) noexcept : k_(std::exchange(o.k_, nullptr)) {}
    RegKey& operator=(RegKey o) noexcept { std::swap(k_, o.k_); return *this; }
    ~RegKey() { if (k_) RegCloseKey(k_); }
    HKEY get() const noexcept { return k_; }
    explicit operator bool() const noexcept { return k_ != nullptr; }

    static RegKey create(HKEY root, std::wstring_view path);  // throws
    static RegKey open(HKEY root, std::wstring_view path) noexcept;  // empty when missing
    void set(std::wstring_view name, std::wstring_view value) const;  // throws; "" = default value
    void set(std::wstring_view name, DWORD value) const;
    std::wstring get_string(std::wstring_view name) const;  // "" when missing

private:
    HKEY k_ = nullptr;
};

// Removes a key with everything below it; a missing key is fine.
void delete_tree(HKEY root, std::wstring_view path) noexcept;

std::wstring guid_string(REFGUID g);

// One class of an in-process server.
struct ClassInfo {
    const CLSID* clsid;
    std::wstring_view name;                   // the class's display name
    std::wstring_view progid;                 // the versioned id, e.g. KELPY.TOC.1 ("" for none)
    std::wstring_view version_independent;    // e.g. KELPY.TOC ("" for none)
    const GUID* libid = nullptr;              // its type library (TypeLib key), or null
    std::wstring_view typelib_version;        // e.g. 9.0
    bool control = false;                     // writes Control, MiscStatus, ToolboxBitmap32
    DWORD misc_status = 0;
    int toolbox_bitmap = 0;                   // resource id of the toolbox picture
    // The class's ProgID key names the version-independent id, so that ProgIDFromCLSID answers
    // it; the versioned id stays registered as an alias. Otherwise the key names the versioned id.
    bool progid_is_version_independent = false;
};

void register_class(const ClassInfo& c, std::wstring_view module_path);
void unregister_class(const ClassInfo& c) noexcept;

// Registers the type library embedded in the module (resource 1) / removes its registration.
void register_type_library(std::wstring_view module_path);
void unregister_type_library(REFGUID libid, WORD major, WORD minor) noexcept;

}  // namespace com
