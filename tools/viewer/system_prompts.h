// The system's own dialogs and menus for the viewer's prompts: the common Open and Save As
// dialogs, message boxes, and TrackPopupMenu.
#pragma once
#include "prompts.h"

namespace viewer {

class SystemPrompts final : public Prompts {
public:
    std::optional<std::wstring> DocumentToOpen(HWND owner) override;
    std::optional<std::wstring> DocumentToSave(HWND owner, const std::wstring& current) override;
    std::optional<std::wstring> DataToAdd(HWND owner) override;
    Answer SaveChanges(HWND owner, const std::wstring& document) override;
    void ShowError(HWND owner, const std::wstring& text) override;
    UINT PickFromMenu(HWND owner, HMENU menu, POINT screen) override;
};

}  // namespace viewer
