#include "bench/common/map_model.h"
#include <windows.h>
#include <string>

namespace bench {

bool use_map_model() {
    static const HRESULT registered = [] {
        wchar_t path[MAX_PATH];
        const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dir(path, n);
        dir = dir.substr(0, dir.find_last_of(L"\\/"));
        HMODULE dll = LoadLibraryW((dir + L"\\mapmodel.dll").c_str());
        if (!dll) return HRESULT_FROM_WIN32(GetLastError());
        using Register = HRESULT(STDAPICALLTYPE*)();
        auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
        return reg ? reg() : E_FAIL;
    }();
    return SUCCEEDED(registered);
}

}  // namespace bench
