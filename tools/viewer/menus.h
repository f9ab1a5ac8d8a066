// The viewer's menus: the menu bar (File: Open…, Add data…, Save, Save As…, the recent documents, Exit;
// View: Refresh, Zoom to full extent), its keyboard shortcuts, and popup menus for the context
// menus, each with an owner that destroys it.
#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

namespace viewer {

// A menu that no window owns, destroyed at the end (a popup menu, or a menu bar until a window
// takes it: see release).
class Menu {
public:
    explicit Menu(HMENU menu) noexcept : menu_(menu) {}
    Menu(Menu&& o) noexcept : menu_(std::exchange(o.menu_, nullptr)) {}
    Menu& operator=(Menu&& o) noexcept { std::swap(menu_, o.menu_); return *this; }
    ~Menu() { if (menu_) DestroyMenu(menu_); }
    HMENU get() const noexcept { return menu_; }
    // For a window that takes the menu (and destroys it with itself).
    HMENU release() noexcept { return std::exchange(menu_, nullptr); }

private:
    HMENU menu_;
};

// The keyboard shortcuts of the menu bar's commands (Ctrl+O, Ctrl+S, F5).
class Accelerators {
public:
    Accelerators();
    ~Accelerators();
    Accelerators(const Accelerators&) = delete;
    Accelerators& operator=(const Accelerators&) = delete;
    HACCEL get() const noexcept { return table_; }

private:
    HACCEL table_;
};

Menu make_menu_bar();
Menu make_popup_menu();
// Appends an item (flags as AppendMenu takes them); throws when the menu does not take it.
void append(HMENU menu, UINT flags, UINT_PTR id, const wchar_t* text);
// Fills the File menu of the bar anew: its commands, Save and Save As enabled only with a
// document, and the recent documents numbered before Exit.
void fill_file_menu(HMENU bar, const std::vector<std::wstring>& recent, bool has_document);
// Enables the View menu's commands only with a document.
void enable_view_menu(HMENU bar, bool has_document);

}  // namespace viewer
