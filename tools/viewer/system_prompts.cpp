#include "system_prompts.h"
#include <commdlg.h>
#include "viewer_text.h"

namespace viewer {

namespace {

constexpr wchar_t documents[] = L"Map documents (*.json)\0*.json\0All files (*.*)\0*.*\0";
constexpr wchar_t data[] =
    L"GeoJSON and TopoJSON (*.json, *.geojson, *.topojson)\0*.json;*.geojson;*.topojson\0All files (*.*)\0*.*\0";

// A file dialog's answer: the path the person chose, or nothing when they cancelled. A failure
// of the dialog itself (not a cancel) is shown, as the person would otherwise see nothing happen.
std::optional<std::wstring> ask_for_file(HWND owner, const std::wstring& initial, bool save, const wchar_t* filter = documents) {
    std::wstring buffer(32768, L'\0');
    initial.copy(buffer.data(), std::min(initial.size(), buffer.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size());
    ofn.lpstrDefExt = L"json";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (chosen) return std::wstring(buffer.c_str());
    if (const DWORD error = CommDlgExtendedError())
        MessageBoxW(owner, (L"The file dialog failed (error " + std::to_wstring(error) + L").").c_str(), app_name,
                    MB_OK | MB_ICONERROR);
    return std::nullopt;
}

}  // namespace

std::optional<std::wstring> SystemPrompts::DocumentToOpen(HWND owner) { return ask_for_file(owner, {}, false); }

std::optional<std::wstring> SystemPrompts::DataToAdd(HWND owner) { return ask_for_file(owner, {}, false, data); }

std::optional<std::wstring> SystemPrompts::DocumentToSave(HWND owner, const std::wstring& current) {
    return ask_for_file(owner, current, true);
}

Prompts::Answer SystemPrompts::SaveChanges(HWND owner, const std::wstring& document) {
    const std::wstring text = L"Do you want to save the changes to " + document + L"?";
    switch (MessageBoxW(owner, text.c_str(), app_name, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    default: return Answer::Cancel;
    }
}

void SystemPrompts::ShowError(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), app_name, MB_OK | MB_ICONERROR);
}

UINT SystemPrompts::PickFromMenu(HWND owner, HMENU menu, POINT screen) {
    return UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, screen.x, screen.y,
                               0, owner, nullptr));
}

}  // namespace viewer
