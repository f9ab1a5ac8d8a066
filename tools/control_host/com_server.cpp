#include "com_server.h"
#include "com/error.h"

namespace host {

std::wstring program_dir() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L"\\/") + 1);
}

com::ComPtr<IUnknown> create_object(REFCLSID clsid, const wchar_t* dll) {
    com::ComPtr<IUnknown> object;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void());
    if (SUCCEEDED(hr)) return object;
    if (hr != REGDB_E_CLASSNOTREG) com::check(hr);
    return object_from_library(clsid, dll);
}

com::ComPtr<IUnknown> object_from_library(REFCLSID clsid, const wchar_t* dll) {
    const std::wstring path = program_dir() + dll;
    HMODULE library = LoadLibraryW(path.c_str());
    if (!library) com::raise(REGDB_E_CLASSNOTREG, L"The class's library " + path + L" cannot be loaded");
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    if (!get) com::raise(E_FAIL, path + L" is not a COM server");
    com::ComPtr<IClassFactory> factory;
    com::check(get(clsid, IID_IClassFactory, factory.put_void()));
    com::ComPtr<IUnknown> object;
    com::check(factory->CreateInstance(nullptr, IID_IUnknown, object.put_void()));
    return object;
}

}  // namespace host
