// kelpy.dll as an in-process server: its exports, its version resource, its class objects, and
// registration with the prefix's own regsvr32 (register, find every key, unregister, find
// none). The registry is read in this process's view: the 32-bit view for the x86 build.
#include <windows.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <set>
#include <string>
#include <vector>
#include "com/bstr.h"
#include "com/ptr.h"
#include "com/registry.h"
#include "common/registration.h"
#include "kelpy.h"

namespace {

constexpr bool x64 = sizeof(void*) == 8;
constexpr REGSAM view = x64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

std::wstring library_path() { return test::program_dir() + L"\\kelpy.dll"; }

// The whole of a module's export name table.
std::set<std::string> exported_names(HMODULE module) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> out;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) out.insert(reinterpret_cast<const char*>(base + names[i]));
    EXPECT_EQ(exports->NumberOfFunctions, exports->NumberOfNames);  // nothing exported by ordinal only
    return out;
}

template <class Fn>
Fn entry(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class Library : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(library_path().c_str());
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { if (module) FreeLibrary(module); }
    HMODULE module = nullptr;
};

TEST_F(Library, ExportsExactlyTheFourServerEntryPoints) {
    EXPECT_EQ(exported_names(module), (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject",
                                                             "DllRegisterServer", "DllUnregisterServer"}));
}

TEST_F(Library, VersionResourceCarriesTheProjectVersion) {
    const std::wstring path = library_path();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), KELPY_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), KELPY_VERSION_MINOR);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), KELPY_VERSION_REVISION);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1);  // the library is 1.0.x
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 0);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\FileVersion",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_EQ(std::wstring(text), std::to_wstring(KELPY_VERSION_MAJOR) + L"." + std::to_wstring(KELPY_VERSION_MINOR) +
                                      L"." + std::to_wstring(KELPY_VERSION_REVISION));
}

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

TEST_F(Library, RecordClassesAndUnknownClassesHaveNoClassObject) {
    auto get = entry<GetClassObject>(module, "DllGetClassObject");
    auto can_unload = entry<CanUnloadNow>(module, "DllCanUnloadNow");
    ASSERT_TRUE(get && can_unload);
    EXPECT_EQ(can_unload(), S_OK);
    const CLSID unknown_class = {0x0badc0de, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
    for (const CLSID* c : {&CLSID_TOCNode, &CLSID_CRect, &CLSID_CustomDrawEventArgs, &CLSID_TreeViewHitTestInfo,
                           &CLSID_TOCItemInfo, &unknown_class}) {
        void* factory = reinterpret_cast<void*>(1);
        EXPECT_EQ(get(*c, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE) << com::narrow(com::guid_string(*c));
        EXPECT_EQ(factory, nullptr);
    }
    EXPECT_EQ(can_unload(), S_OK);  // nothing was left alive
}

// The control's class has a class factory; holding it keeps the library loaded.
TEST_F(Library, ControlClassIsServedByAClassFactory) {
    auto get = entry<GetClassObject>(module, "DllGetClassObject");
    auto can_unload = entry<CanUnloadNow>(module, "DllCanUnloadNow");
    ASSERT_TRUE(get && can_unload);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(get(CLSID_TOC, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(can_unload(), S_FALSE);
    factory->Release();
    EXPECT_EQ(can_unload(), S_OK);
}

// ---- registration through regsvr32

// Runs the prefix's regsvr32 of this architecture silently and answers its exit code.
DWORD regsvr32(const std::wstring& options) {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);  // a 32-bit process is sent to the 32-bit regsvr32
    std::wstring command = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" /s " + options + L" \"" + library_path() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start regsvr32: " << GetLastError();
        return DWORD(-1);
    }
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

bool key_exists(const std::wstring& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | view, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

// A value of a key ("" names the default value); nullopt-like "<missing>" when absent.
std::wstring value_of(const std::wstring& path, const wchar_t* name = nullptr) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | view, &k) != ERROR_SUCCESS) return L"<missing>";
    wchar_t buf[1024];
    DWORD size = sizeof buf, type = 0;
    LONG rc = RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return L"<missing>";
    return std::wstring(buf, size / sizeof(wchar_t)).c_str();
}

bool same_path(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

const std::wstring toc = L"CLSID\\" + com::guid_string(CLSID_TOC);
const std::wstring libid = com::guid_string(LIBID_KELPY);
const std::wstring typelib_file_key = L"TypeLib\\" + libid + L"\\9.2\\0\\" + (x64 ? L"win64" : L"win32");

std::vector<std::wstring> class_keys() {
    std::vector<std::wstring> keys;
    for (const CLSID* c : {&CLSID_TOC, &CLSID_TOCNode, &CLSID_CRect, &CLSID_CustomDrawEventArgs,
                           &CLSID_TreeViewHitTestInfo, &CLSID_TOCItemInfo, &CLSID_TOCEvents})
        keys.push_back(L"CLSID\\" + com::guid_string(*c));
    return keys;
}

std::vector<std::wstring> interface_keys() {
    std::vector<std::wstring> keys;
    for (const IID* i : {&IID__TOC, &DIID___TOC, &IID__TOCNode, &IID__CRect, &IID__CustomDrawEventArgs,
                         &IID__TreeViewHitTestInfo, &IID__TOC2, &DIID___TOC2, &IID__TOCItemInfo, &IID__TOC3,
                         &IID__TOCEvents})
        keys.push_back(L"Interface\\" + com::guid_string(*i));
    return keys;
}

// Every key that registration enters, present or absent together.
std::vector<std::wstring> all_keys() {
    std::vector<std::wstring> keys = class_keys();
    for (auto& k : interface_keys()) keys.push_back(k);
    keys.push_back(L"KELPY.TOC");
    keys.push_back(L"KELPY.TOC.1");
    keys.push_back(typelib_file_key);
    return keys;
}

void expect_registered() {
    for (const auto& k : all_keys()) EXPECT_TRUE(key_exists(k)) << com::narrow(k);

    // The control class.
    EXPECT_TRUE(same_path(value_of(toc + L"\\InprocServer32"), library_path()));
    EXPECT_EQ(value_of(toc + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(value_of(toc + L"\\ProgID"), L"KELPY.TOC");
    EXPECT_EQ(value_of(toc + L"\\VersionIndependentProgID"), L"KELPY.TOC");
    EXPECT_TRUE(key_exists(toc + L"\\Control"));
    EXPECT_TRUE(same_path(value_of(toc + L"\\ToolboxBitmap32"), library_path() + L", 30000"));
    EXPECT_EQ(value_of(toc + L"\\MiscStatus\\1"),
              std::to_wstring(OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                              OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST));
    // Both program ids lead to the class; the version-independent one names the current one
    // and is the class's own.
    EXPECT_EQ(value_of(L"KELPY.TOC\\CLSID"), com::guid_string(CLSID_TOC));
    EXPECT_EQ(value_of(L"KELPY.TOC\\CurVer"), L"KELPY.TOC.1");
    EXPECT_EQ(value_of(L"KELPY.TOC.1\\CLSID"), com::guid_string(CLSID_TOC));
    for (const wchar_t* id : {L"KELPY.TOC", L"KELPY.TOC.1"}) {
        CLSID resolved{};
        EXPECT_EQ(CLSIDFromProgID(id, &resolved), S_OK) << com::narrow(id);
        EXPECT_EQ(resolved, CLSID_TOC) << com::narrow(id);
    }
    LPOLESTR progid = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(CLSID_TOC, &progid), S_OK);
    EXPECT_EQ(std::wstring(progid), L"KELPY.TOC");
    CoTaskMemFree(progid);

    // Every class points at the library and its type library; the records are not controls.
    for (const auto& k : class_keys()) {
        SCOPED_TRACE(com::narrow(k));
        EXPECT_TRUE(same_path(value_of(k + L"\\InprocServer32"), library_path()));
        EXPECT_EQ(value_of(k + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(value_of(k + L"\\TypeLib"), libid);
        EXPECT_EQ(value_of(k + L"\\Version"), L"9.2");
        if (k != toc) {
            EXPECT_FALSE(key_exists(k + L"\\Control"));
            EXPECT_FALSE(key_exists(k + L"\\ProgID"));
        }
    }
    for (const auto& k : interface_keys()) EXPECT_EQ(value_of(k + L"\\TypeLib"), libid) << com::narrow(k);

    // The type library is the one embedded in the DLL, and a host finds it through the registry.
    EXPECT_TRUE(same_path(value_of(typelib_file_key), library_path()));
    com::ComPtr<ITypeLib> lib;
    EXPECT_EQ(LoadRegTypeLib(LIBID_KELPY, 9, 2, LOCALE_NEUTRAL, lib.put()), S_OK);
}

void expect_unregistered() {
    for (const auto& k : all_keys()) EXPECT_FALSE(key_exists(k)) << com::narrow(k);
}

TEST(Registration, RoundTripWithRegsvr32) {
    // Other test programs of this prefix register the library for their own use: leave it as
    // registered as it was found.
    const bool was_registered = key_exists(toc) || key_exists(L"KELPY.TOC");

    // The round trip starts from this library's own registration. The prefix may hold the other
    // architecture's (test programs of both register in it): Wine enters a 64-bit library's
    // interfaces where 32-bit programs see them too, and a 32-bit unregistration that finds no
    // 32-bit type library of its own removes none of them.
    ASSERT_EQ(regsvr32(L""), 0u);
    ASSERT_EQ(regsvr32(L"/u"), 0u);
    expect_unregistered();
    ASSERT_EQ(regsvr32(L""), 0u);
    expect_registered();
    // Registering again is harmless.
    ASSERT_EQ(regsvr32(L""), 0u);
    expect_registered();
    ASSERT_EQ(regsvr32(L"/u"), 0u);
    expect_unregistered();

    if (was_registered) {
        EXPECT_EQ(regsvr32(L""), 0u);
    }
}

}  // namespace
