#include "com/registry.h"
#include "com/error.h"
#include "com/ptr.h"
#include <oleauto.h>

namespace com {

RegKey RegKey::create(HKEY root, std::wstring_view path) {
    HKEY k = nullptr;
    std::wstring p(path);
    LONG rc = RegCreateKeyExW(root, p.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &k, nullptr);
    if (rc != ERROR_SUCCESS) raise(HRESULT_FROM_WIN32(rc), L"Could not create the registry key " + p);
    return RegKey(k);
}

RegKey RegKey::open(HKEY root, std::wstring_view path) noexcept {
    HKEY k = nullptr;
    std::wstring p(path);
    if (RegOpenKeyExW(root, p.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return {};
    return RegKey(k);
}

void RegKey::set(std::wstring_view name, std::wstring_view value) const {
    std::wstring n(name), v(value);
    LONG rc = RegSetValueExW(k_, n.empty() ? nullptr : n.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(v.c_str()), DWORD((v.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) raise(HRESULT_FROM_WIN32(rc), L"Could not write the registry value " + n);
}

void RegKey::set(std::wstring_view name, DWORD value) const {
    std::wstring n(name);
    LONG rc = RegSetValueExW(k_, n.empty() ? nullptr : n.c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value), sizeof value);
    if (rc != ERROR_SUCCESS) raise(HRESULT_FROM_WIN32(rc), L"Could not write the registry value " + n);
}

std::wstring RegKey::get_string(std::wstring_view name) const {
    std::wstring n(name);
    DWORD type = 0, size = 0;
    const wchar_t* pn = n.empty() ? nullptr : n.c_str();
    if (RegQueryValueExW(k_, pn, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return {};
    std::wstring v(size / sizeof(wchar_t), L'\0');
    if (RegQueryValueExW(k_, pn, nullptr, nullptr, reinterpret_cast<BYTE*>(v.data()), &size) != ERROR_SUCCESS) return {};
    while (!v.empty() && v.back() == L'\0') v.pop_back();
    return v;
}

void delete_tree(HKEY root, std::wstring_view path) noexcept {
    std::wstring p(path);
    RegDeleteTreeW(root, p.c_str());
    RegDeleteKeyW(root, p.c_str());
}

std::wstring guid_string(REFGUID g) {
    wchar_t buf[40];
    StringFromGUID2(g, buf, 40);
    return buf;
}

void register_class(const ClassInfo& c, std::wstring_view module_path) {
    const std::wstring clsid = guid_string(*c.clsid);
    const std::wstring base = L"CLSID\\" + clsid;
    RegKey::create(HKEY_CLASSES_ROOT, base).set(L"", c.name);
    RegKey server = RegKey::create(HKEY_CLASSES_ROOT, base + L"\\InprocServer32");
    server.set(L"", module_path);
    server.set(L"ThreadingModel", L"Apartment");
    // The ProgID key names one id; both ids lead to the class.
    const bool names_version_independent = c.progid_is_version_independent && !c.version_independent.empty();
    if (names_version_independent)
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\ProgID").set(L"", c.version_independent);
    if (!c.progid.empty()) {
        if (!names_version_independent) RegKey::create(HKEY_CLASSES_ROOT, base + L"\\ProgID").set(L"", c.progid);
        RegKey::create(HKEY_CLASSES_ROOT, std::wstring(c.progid)).set(L"", c.name);
        RegKey::create(HKEY_CLASSES_ROOT, std::wstring(c.progid) + L"\\CLSID").set(L"", clsid);
    }
    if (!c.version_independent.empty()) {
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\VersionIndependentProgID").set(L"", c.version_independent);
        std::wstring vi(c.version_independent);
        RegKey::create(HKEY_CLASSES_ROOT, vi).set(L"", c.name);
        RegKey::create(HKEY_CLASSES_ROOT, vi + L"\\CLSID").set(L"", clsid);
        if (!c.progid.empty()) RegKey::create(HKEY_CLASSES_ROOT, vi + L"\\CurVer").set(L"", c.progid);
    }
    if (c.libid) {
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\TypeLib").set(L"", guid_string(*c.libid));
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\Version").set(L"", c.typelib_version);
    }
    if (c.control) {
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\Control");
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\MiscStatus").set(L"", L"0");
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\MiscStatus\\1").set(L"", std::to_wstring(c.misc_status));
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\ToolboxBitmap32")
            .set(L"", std::wstring(module_path) + L", " + std::to_wstring(c.toolbox_bitmap));
        RegKey::create(HKEY_CLASSES_ROOT, base + L"\\Implemented Categories");
    }
}

void unregister_class(const ClassInfo& c) noexcept {
    delete_tree(HKEY_CLASSES_ROOT, L"CLSID\\" + guid_string(*c.clsid));
    if (!c.progid.empty()) delete_tree(HKEY_CLASSES_ROOT, c.progid);
    if (!c.version_independent.empty()) delete_tree(HKEY_CLASSES_ROOT, c.version_independent);
}

void register_type_library(std::wstring_view module_path) {
    std::wstring p(module_path);
    ComPtr<ITypeLib> tl;
    check(LoadTypeLibEx(p.c_str(), REGKIND_NONE, tl.put()));
    check(RegisterTypeLib(tl.get(), p.data(), nullptr));
}

void unregister_type_library(REFGUID libid, WORD major, WORD minor) noexcept {
#ifdef _WIN64
    UnRegisterTypeLib(libid, major, minor, LOCALE_NEUTRAL, SYS_WIN64);
#else
    UnRegisterTypeLib(libid, major, minor, LOCALE_NEUTRAL, SYS_WIN32);
#endif
}

}  // namespace com
