#include "map_document.h"
#include "com/bstr.h"
#include "com/error.h"
#include "com_server.h"

namespace host {

com::ComPtr<IMapDocument> open_document(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        com::raise(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"There is no map document " + path);
    auto document = create_object<IMapDocument>(CLSID_MapDocument, L"mapmodel.dll");
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
    return document;
}

com::ComPtr<IMap> open_map(const std::wstring& path) {
    com::ComPtr<IMap> map;
    com::check(open_document(path)->get_Map(map.put()));
    return map;
}

}  // namespace host
