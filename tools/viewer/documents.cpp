// The viewer's documents: opening (with the question about unsaved changes first), saving,
// saving as, the recent documents, and closing the window.
#include "com/bstr.h"
#include "com/error.h"
#include "map_document.h"
#include "viewer.h"
#include "viewer_text.h"

namespace viewer {

bool Viewer::ConfirmDiscard() {
    if (!map_ || !modified_) return true;
    switch (prompts_.SaveChanges(frame_, path_.empty() ? L"Untitled" : file_name(path_))) {
    case Prompts::Answer::Yes: return OnSave();
    case Prompts::Answer::No: return true;
    default: return false;
    }
}

void Viewer::OnOpen() {
    if (!ConfirmDiscard()) return;
    if (auto path = prompts_.DocumentToOpen(frame_)) Open(*path);
}

void Viewer::OnOpenRecent(size_t index) {
    if (index >= recent_.Paths().size()) return;
    const std::wstring path = recent_.Paths()[index];
    if (!ConfirmDiscard()) return;
    // A document that is gone leaves the list (after the person is told).
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        recent_.Remove(path);
        UpdateMenus();
    }
    Open(path);
}

// The document is read into a new document object first: a document that cannot be opened
// changes nothing of what is open.
bool Viewer::Open(const std::wstring& path) {
    return Attempt([&] {
        wchar_t full[MAX_PATH];
        const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
        const std::wstring absolute = n && n < MAX_PATH ? std::wstring(full, n) : path;
        Bind(host::open_document(absolute), absolute);
    });
}

void Viewer::Bind(const com::ComPtr<IMapDocument>& document, const std::wstring& path) {
    com::ComPtr<IMap> map;
    com::check(document->get_Map(map.put()));
    IMap* argument = map.get();
    if (const HRESULT hr = toc_->Initialize(&argument); FAILED(hr)) {
        // The control keeps the map it showed.
        IMap* previous = map_.get();
        if (previous) toc_->Initialize(&previous);
        com::check(hr);
    }
    document_ = document;
    map_ = map;
    path_ = path;
    modified_ = false;
    dragging_.reset();
    failed_.clear();
    map_watch_ = std::make_unique<MapWatch>(map.get(), frame_, WM_VIEWER_SCALE);
    map_pane_->Show(map.as<IMapView>());
    if (!path.empty()) recent_.Add(path);
    UpdateMenus();
    UpdateTitle();
    UpdateStatus();
    UpdateScale();
}

bool Viewer::OnSave() {
    if (!map_) return false;
    return path_.empty() ? OnSaveAs() : SaveTo(path_);
}

bool Viewer::OnSaveAs() {
    if (!map_) return false;
    auto path = prompts_.DocumentToSave(frame_, path_);
    return path && SaveTo(*path);
}

// The map model replaces the file only once the whole document is written: a failed save leaves
// the file as it was, and the changes stay unsaved.
bool Viewer::SaveTo(const std::wstring& path) {
    if (const HRESULT hr = document_->Save(com::Bstr(path).get()); FAILED(hr)) {
        try {
            com::check(hr);
        } catch (const com::ComError& e) {
            ShowError(L"The map document could not be saved: " + reason(e));
        }
        return false;
    }
    com::Bstr saved;
    com::check(document_->get_Path(saved.put()));
    path_ = saved.empty() ? path : saved.str();
    modified_ = false;
    recent_.Add(path_);
    UpdateMenus();
    UpdateTitle();
    UpdateStatus();
    return true;
}

void Viewer::OnClose() {
    if (!ConfirmDiscard()) return;
    DestroyWindow(frame_);
}

}  // namespace viewer
