// Prompts: every question the viewer puts to the person, behind one small interface: the file
// dialogs (documents and data), the question about unsaved changes, error messages and the
// choice from a popup menu.
// The viewer uses the system's own dialogs and menus (system_prompts.h); tests answer with a
// script of their own.
#pragma once
#include <windows.h>
#include <optional>
#include <string>

namespace viewer {

class Prompts {
public:
    enum class Answer { Yes, No, Cancel };

    // The map document the person picks to open, or nothing when they cancel.
    virtual std::optional<std::wstring> DocumentToOpen(HWND owner) = 0;
    // The GeoJSON or TopoJSON file the person picks to add to the map, or nothing.
    virtual std::optional<std::wstring> DataToAdd(HWND owner) = 0;
    // The file the person saves the document as (`current` offered first), or nothing.
    virtual std::optional<std::wstring> DocumentToSave(HWND owner, const std::wstring& current) = 0;
    // Whether to save the changes to `document` first: Yes, No, or Cancel (do not go on).
    virtual Answer SaveChanges(HWND owner, const std::wstring& document) = 0;
    // Tells the person that something failed, and why.
    virtual void ShowError(HWND owner, const std::wstring& text) = 0;
    // The command the person picks from `menu` shown at a point of the screen, or 0 for none.
    virtual UINT PickFromMenu(HWND owner, HMENU menu, POINT screen) = 0;

protected:
    ~Prompts() = default;
};

}  // namespace viewer
