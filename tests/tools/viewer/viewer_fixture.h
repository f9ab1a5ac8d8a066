// The viewer's tests' fixture: the viewer in a topmost window, its prompts answered by a script,
// the symbol selector scripted, a copy of the sample map in a folder of the test's own, and the
// ways a test looks at what the viewer shows: the map pane's pixels, the status bar, the title,
// the tree's items.
#pragma once
#include <gtest/gtest.h>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "com/bstr.h"
#include "picture.h"
#include "scripted_selector.h"
#include "viewer.h"

namespace test {

// Answers the viewer's prompts from a script, in order, and records what was asked. A prompt the
// script has no answer for fails the test and is cancelled.
class ScriptedPrompts final : public viewer::Prompts {
public:
    std::deque<std::wstring> open;            // documents picked in the Open dialog
    std::deque<std::wstring> save;            // files picked in the Save As dialog
    std::deque<std::wstring> data;            // files picked in the Add data dialog
    std::deque<Answer> answers;               // answers to "save the changes?"
    std::deque<std::wstring> picks;           // texts of the items picked from popup menus
    std::vector<std::wstring> errors;         // the errors shown
    int questions = 0;                        // "save the changes?" asked
    int open_dialogs = 0;

    struct MenuItem {
        std::wstring text;
        bool checked = false, grayed = false;
    };
    std::vector<MenuItem> last_menu;          // the items of the last popup menu shown
    POINT last_menu_at{};

    std::optional<std::wstring> DocumentToOpen(HWND owner) override;
    std::optional<std::wstring> DocumentToSave(HWND owner, const std::wstring& current) override;
    std::optional<std::wstring> DataToAdd(HWND owner) override;
    Answer SaveChanges(HWND owner, const std::wstring& document) override;
    void ShowError(HWND owner, const std::wstring& text) override;
    UINT PickFromMenu(HWND owner, HMENU menu, POINT screen) override;
};

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A menu command, as the menu item's click sends it.
    void command(UINT id);
    // Opens a document through File > Open.
    void open(const std::wstring& path);

    // The tree's item of a path of texts ("Land use/Parks": Parks under Land use), made visible.
    HTREEITEM item(const std::wstring& path) const;
    // A point on the screen of an item's row where the tree's hit test answers `flags`.
    POINT at(const std::wstring& path, UINT flags = TVHT_ONITEMLABEL) const;
    std::wstring selected_text() const;

    // What the map pane shows, and what the map's view draws at the pane's size.
    host::Pixels shown() const;
    host::Pixels drawn() const;
    std::wstring status(viewer::StatusPart part) const;
    std::wstring title() const;
    // The map's layers as text in drawing order, members in brackets.
    std::wstring order() const;
    bool visible(const std::wstring& layer) const;

    // A file of the test's own folder, and the text of a file.
    std::wstring file(const wchar_t* name) const;
    static std::string contents(const std::wstring& path);

    ScriptedPrompts prompts;
    std::unique_ptr<host::ScriptedSelector> selector;
    std::unique_ptr<viewer::Viewer> viewer;
    std::wstring folder;  // the test's own folder
    std::wstring sample;  // a copy of the sample map in it
};

// Whether the layer of this name (a member of a group layer too) is visible in the map.
bool layer_visible(IMap* map, const std::wstring& name);
// Whether two pictures are the same, pixel for pixel.
bool same(const host::Pixels& a, const host::Pixels& b);
// How many pixels of a picture have this colour (0xRRGGBB).
size_t count(const host::Pixels& p, DWORD color);

}  // namespace test
