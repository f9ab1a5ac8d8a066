#include "menus.h"
#include <iterator>
#include "com/error.h"
#include "commands.h"

namespace viewer {

namespace {
constexpr int file_menu = 0, view_menu = 1;  // positions on the bar

HMENU new_menu(bool popup) {
    HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
    if (!menu) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not make a menu");
    return menu;
}

// "&1 C:\maps\bay.json": a recent document's item, its number the shortcut; an "&" of the path
// is doubled so that it shows.
std::wstring recent_item(size_t index, const std::wstring& path) {
    std::wstring text = L"&" + std::to_wstring(index + 1) + L" ";
    for (wchar_t c : path) text += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
    return text;
}
}  // namespace

void append(HMENU menu, UINT flags, UINT_PTR id, const wchar_t* text) {
    if (!AppendMenuW(menu, flags, id, text)) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not fill a menu");
}

Menu make_popup_menu() { return Menu(new_menu(true)); }

Accelerators::Accelerators() {
    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, 'O', CmdOpen},
        {FCONTROL | FVIRTKEY, 'S', CmdSave},
        {FVIRTKEY, VK_F5, CmdRefresh},
    };
    table_ = CreateAcceleratorTableW(keys, int(std::size(keys)));
    if (!table_) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not make the keyboard shortcuts");
}

Accelerators::~Accelerators() { DestroyAcceleratorTable(table_); }

Menu make_menu_bar() {
    Menu bar(new_menu(false));
    Menu file(new_menu(true));
    append(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(file.get()), L"&File");
    file.release();  // the bar owns it now
    Menu view(new_menu(true));
    append(view.get(), MF_STRING, CmdRefresh, L"&Refresh\tF5");
    append(view.get(), MF_STRING, CmdZoomFull, L"Zoom to &full extent");
    append(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(view.get()), L"&View");
    view.release();
    fill_file_menu(bar.get(), {}, false);
    enable_view_menu(bar.get(), false);
    return bar;
}

void fill_file_menu(HMENU bar, const std::vector<std::wstring>& recent, bool has_document) {
    HMENU file = GetSubMenu(bar, file_menu);
    while (GetMenuItemCount(file) > 0) DeleteMenu(file, 0, MF_BYPOSITION);
    const UINT with_document = has_document ? MF_ENABLED : MF_GRAYED;
    append(file, MF_STRING, CmdOpen, L"&Open...\tCtrl+O");
    append(file, MF_STRING, CmdAddData, L"Add &data...");
    append(file, MF_STRING | with_document, CmdSave, L"&Save\tCtrl+S");
    append(file, MF_STRING | with_document, CmdSaveAs, L"Save &As...");
    append(file, MF_SEPARATOR, 0, nullptr);
    for (size_t i = 0; i < recent.size() && CmdRecentFirst + i <= CmdRecentLast; ++i)
        append(file, MF_STRING, CmdRecentFirst + i, recent_item(i, recent[i]).c_str());
    if (!recent.empty()) append(file, MF_SEPARATOR, 0, nullptr);
    append(file, MF_STRING, CmdExit, L"E&xit");
}

void enable_view_menu(HMENU bar, bool has_document) {
    HMENU view = GetSubMenu(bar, view_menu);
    for (UINT command : {CmdRefresh, CmdZoomFull})
        EnableMenuItem(view, command, MF_BYCOMMAND | (has_document ? MF_ENABLED : MF_GRAYED));
}

}  // namespace viewer
