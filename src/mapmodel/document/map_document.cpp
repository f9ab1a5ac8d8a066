#include "mapmodel/document/map_document.h"
#include "mapmodel/document/map_loader.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IMapDocument);

// The bytes of a file; a missing or unreadable file is an error naming it.
std::string read_file(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        com::raise(HRESULT_FROM_WIN32(e), path + L": cannot open the document: " + com::describe(HRESULT_FROM_WIN32(e)));
    }
    std::string bytes;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart < (1LL << 30);
    if (ok) {
        bytes.resize(size_t(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() || (ReadFile(f, bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
    }
    DWORD e = GetLastError();
    CloseHandle(f);
    if (!ok) com::raise(HRESULT_FROM_WIN32(e ? e : ERROR_READ_FAULT), path + L": cannot read the document");
    // A UTF-8 byte order mark is allowed.
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    return bytes;
}
}  // namespace

STDMETHODIMP MapDocument::Open(BSTR path) {
    return com::boundary(kIid, [&] {
        std::wstring p(com::view(path));
        if (p.empty()) com::raise(E_INVALIDARG, L"The document's path is empty");
        auto map = document::load_map(read_file(p), p);
        map_ = map;
        path_ = p;
    });
}

STDMETHODIMP MapDocument::LoadText(BSTR json, BSTR nameForErrors) {
    return com::boundary(kIid, [&] {
        std::wstring name(com::view(nameForErrors));
        if (name.empty()) name = L"(text)";
        auto map = document::load_map(com::narrow(com::view(json)), name);
        map_ = map;
        path_ = name;
    });
}

STDMETHODIMP MapDocument::get_Map(IMap** map) { return com::boundary(kIid, [&] { give(map, map_); }); }
STDMETHODIMP MapDocument::get_Path(BSTR* path) { return com::boundary(kIid, [&] { give_text(path, path_); }); }

}  // namespace mapmodel
