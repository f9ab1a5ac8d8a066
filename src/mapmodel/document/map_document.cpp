#include "mapmodel/document/map_document.h"
#include "mapmodel/document/document_file.h"
#include "mapmodel/document/map_loader.h"
#include "mapmodel/document/map_saver.h"
#include "mapmodel/json/json_file.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IMapDocument);

std::wstring file_path(BSTR path) {
    std::wstring p(com::view(path));
    if (p.empty()) com::raise(E_INVALIDARG, L"The document's path is empty");
    return p;
}
}  // namespace

STDMETHODIMP MapDocument::Open(BSTR path) {
    return boundary(kIid, [&] {
        std::wstring p = file_path(path);
        auto map = document::load_map(json::read_file(p, L"document"), p);
        map_ = map;
        path_ = p;
    });
}

STDMETHODIMP MapDocument::LoadText(BSTR json, BSTR nameForErrors) {
    return boundary(kIid, [&] {
        std::wstring name(com::view(nameForErrors));
        if (name.empty()) name = L"(text)";
        auto map = document::load_map(com::narrow(com::view(json)), name);
        map_ = map;
        path_ = name;
    });
}

// The whole text is made (and checked to load again) before the file is touched.
STDMETHODIMP MapDocument::Save(BSTR path) {
    return boundary(kIid, [&] {
        std::wstring p = file_path(path);
        if (!map_) com::raise(E_UNEXPECTED, p + L": cannot save the document: it holds no map yet (open or load one first)");
        document::replace_document(p, document::save_map(*map_.get(), p));
        path_ = p;
    });
}

STDMETHODIMP MapDocument::get_Map(IMap** map) { return boundary(kIid, [&] { give(map, map_); }); }
STDMETHODIMP MapDocument::get_Path(BSTR* path) { return boundary(kIid, [&] { give_text(path, path_); }); }

}  // namespace mapmodel
