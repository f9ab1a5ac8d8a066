#include "map_document.h"
#include "com/bstr.h"
#include "com/error.h"

namespace snapshot {

namespace {

std::wstring program_dir() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L"\\/") + 1);
}

com::ComPtr<IMapDocument> new_document() {
    com::ComPtr<IMapDocument> document;
    HRESULT hr = CoCreateInstance(CLSID_MapDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IMapDocument,
                                  document.put_void());
    if (SUCCEEDED(hr)) return document;
    if (hr != REGDB_E_CLASSNOTREG) com::check(hr);
    // Not registered: the map model beside the program, through its class factory. The library
    // stays loaded for the life of the process.
    const std::wstring dll = program_dir() + L"mapmodel.dll";
    HMODULE library = LoadLibraryW(dll.c_str());
    if (!library)
        com::raise(REGDB_E_CLASSNOTREG, L"The map model is neither registered nor found at " + dll);
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    if (!get) com::raise(E_FAIL, dll + L" is not a COM server");
    com::ComPtr<IClassFactory> factory;
    com::check(get(CLSID_MapDocument, IID_IClassFactory, factory.put_void()));
    com::check(factory->CreateInstance(nullptr, IID_IMapDocument, document.put_void()));
    return document;
}

}  // namespace

com::ComPtr<IMap> open_map(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        com::raise(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"There is no map document " + path);
    auto document = new_document();
    const HRESULT hr = document->Open(com::Bstr(path).get());
    try {
        com::check(hr);
    } catch (const com::ComError& e) {
        const std::wstring why = e.description().empty() ? com::describe(e.hr()) : e.description();
        com::raise(e.hr(), L"The map document " + path + L" cannot be opened: " + why);
    }
    com::ComPtr<IMap> map;
    com::check(document->get_Map(map.put()));
    if (!map) com::raise(E_FAIL, L"The map document " + path + L" holds no map");
    return map;
}

}  // namespace snapshot
