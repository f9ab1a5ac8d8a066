#include "common/registration.h"
#include <gtest/gtest.h>
#include <map>

namespace test {

std::wstring program_dir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L"\\/"));
}

HMODULE register_library(const wchar_t* dll) {
    static std::map<std::wstring, HMODULE> done;
    auto it = done.find(dll);
    if (it != done.end()) return it->second;
    std::wstring path = program_dir() + L"\\" + dll;
    HMODULE h = LoadLibraryW(path.c_str());
    EXPECT_NE(h, nullptr) << "cannot load the library";
    if (!h) return nullptr;
    using Fn = HRESULT(STDAPICALLTYPE*)();
    auto reg = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(h, "DllRegisterServer")));
    EXPECT_NE(reg, nullptr);
    if (reg) {
        EXPECT_EQ(reg(), S_OK);
    }
    done[dll] = h;
    return h;
}

}  // namespace test
