#include "viewer_fixture.h"
#include <algorithm>
#include <fstream>
#include <sstream>
#include "com/bstr.h"
#include "com/registry.h"
#include "commands.h"
#include "common/registration.h"
#include "map_text.h"
#include "tree_items.h"
#include "user_input.h"

namespace test {

namespace {

constexpr wchar_t settings_key[] = L"Software\\KELPY\\Viewer tests";

std::wstring menu_text(HMENU menu, int position) {
    wchar_t text[512] = {};
    GetMenuStringW(menu, UINT(position), text, int(std::size(text)), MF_BYPOSITION);
    std::wstring out;
    for (const wchar_t* c = text; *c; ++c)
        if (*c != L'&') out += *c;
    return out;
}

HTREEITEM next(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// The first item of this text among `first` and its siblings and, depth first, their descendants.
HTREEITEM find(HWND tree, HTREEITEM first, const std::wstring& text) {
    for (HTREEITEM i = first; i; i = next(tree, i, TVGN_NEXT)) {
        if (viewer::item_text(tree, i) == text) return i;
        if (HTREEITEM found = find(tree, next(tree, i, TVGN_CHILD), text)) return found;
    }
    return nullptr;
}

bool find_layer(ILayer* layer, const std::wstring& name, bool& visible) {
    com::Bstr n;
    com::check(layer->get_Name(n.put()));
    if (n.view() == name) {
        VARIANT_BOOL v = VARIANT_FALSE;
        com::check(layer->get_Visible(&v));
        visible = v != VARIANT_FALSE;
        return true;
    }
    auto members = com::ComPtr<ILayer>(layer).query<ISubLayers>();
    LONG count = 0;
    if (members) com::check(members->get_Count(&count));
    for (LONG i = 0; i < count; ++i) {
        com::ComPtr<ILayer> member;
        com::check(members->get_Layer(i, member.put()));
        if (find_layer(member.get(), name, visible)) return true;
    }
    return false;
}

}  // namespace

// ---- the script

std::optional<std::wstring> ScriptedPrompts::DocumentToOpen(HWND) {
    ++open_dialogs;
    if (open.empty()) {
        ADD_FAILURE() << "the Open dialog was not expected";
        return std::nullopt;
    }
    std::wstring path = open.front();
    open.pop_front();
    return path;
}

std::optional<std::wstring> ScriptedPrompts::DocumentToSave(HWND, const std::wstring&) {
    if (save.empty()) {
        ADD_FAILURE() << "the Save As dialog was not expected";
        return std::nullopt;
    }
    std::wstring path = save.front();
    save.pop_front();
    return path;
}

std::optional<std::wstring> ScriptedPrompts::DataToAdd(HWND) {
    if (data.empty()) {
        ADD_FAILURE() << "the Add data dialog was not expected";
        return std::nullopt;
    }
    std::wstring path = data.front();
    data.pop_front();
    return path;
}

viewer::Prompts::Answer ScriptedPrompts::SaveChanges(HWND, const std::wstring&) {
    ++questions;
    if (answers.empty()) {
        ADD_FAILURE() << "the question about unsaved changes was not expected";
        return Answer::Cancel;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedPrompts::ShowError(HWND, const std::wstring& text) { errors.push_back(text); }

UINT ScriptedPrompts::PickFromMenu(HWND, HMENU menu, POINT screen) {
    last_menu.clear();
    last_menu_at = screen;
    UINT picked = 0;
    const std::wstring wanted = picks.empty() ? L"" : picks.front();
    if (!picks.empty()) picks.pop_front();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
        if (state & MF_SEPARATOR) continue;
        MenuItem item{menu_text(menu, i), (state & MF_CHECKED) != 0, (state & (MF_GRAYED | MF_DISABLED)) != 0};
        if (item.text == wanted && !item.grayed) picked = GetMenuItemID(menu, i);
        last_menu.push_back(item);
    }
    if (!wanted.empty() && !picked) ADD_FAILURE() << "the menu has no item " << com::narrow(wanted) << " to pick";
    return picked;
}

// ---- the fixture

void ViewerTest::SetUp() {
    register_library(L"mapmodel.dll");
    register_library(L"kelpy.dll");
    com::delete_tree(HKEY_CURRENT_USER, settings_key);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"kelpy-viewer-test\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    sample = file(L"sample-map.json");
    ASSERT_TRUE(CopyFileW((program_dir() + L"\\samples\\sample-map.json").c_str(), sample.c_str(), FALSE));

    selector = std::make_unique<host::ScriptedSelector>();
    viewer::ViewerOptions options;
    options.settings_key = settings_key;
    options.position = {30, 30};
    options.size = {880, 640};
    options.topmost = true;
    viewer = std::make_unique<viewer::Viewer>(prompts, options);
    host::pump_messages();
}

void ViewerTest::TearDown() {
    // The pointer leaves the test's windows for a corner where no test has one.
    host::move_mouse({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
    viewer.reset();
    selector.reset();
    com::delete_tree(HKEY_CURRENT_USER, settings_key);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((folder + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
    EXPECT_TRUE(prompts.open.empty() && prompts.save.empty() && prompts.data.empty() && prompts.answers.empty() &&
                prompts.picks.empty())
        << "the script has answers left that nothing asked for";
}

void ViewerTest::command(UINT id) {
    SendMessageW(viewer->window(), WM_COMMAND, id, 0);
    host::pump_messages();
}

void ViewerTest::open(const std::wstring& path) {
    prompts.open.push_back(path);
    command(viewer::CmdOpen);
}

HTREEITEM ViewerTest::item(const std::wstring& path) const {
    HWND tree = viewer->tree();
    HTREEITEM found = next(tree, nullptr, TVGN_ROOT);
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find(L'/', start);
        if (slash == std::wstring::npos) slash = path.size();
        found = find(tree, start ? next(tree, found, TVGN_CHILD) : found, path.substr(start, slash - start));
        if (!found) throw std::runtime_error("the tree shows no item " + com::narrow(path));
        start = slash + 1;
    }
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(found));
    return found;
}

POINT ViewerTest::at(const std::wstring& path, UINT flags) const {
    return host::point_on_item(viewer->tree(), item(path), flags);
}

std::wstring ViewerTest::selected_text() const {
    return viewer::item_text(viewer->tree(), viewer::selected_item(viewer->tree()));
}

host::Pixels ViewerTest::shown() const { return host::window_pixels(viewer->map_window()); }

host::Pixels ViewerTest::drawn() const {
    RECT client{};
    GetClientRect(viewer->map_window(), &client);
    win::DibCanvas canvas(client.right, client.bottom);
    com::check(viewer->Map().as<IMapView>()->Output(reinterpret_cast<LONG_PTR>(canvas.dc()), client.right, client.bottom));
    return host::pixels_of(canvas);
}

std::wstring ViewerTest::status(viewer::StatusPart part) const {
    wchar_t text[1024] = {};
    SendMessageW(viewer->status_bar(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ViewerTest::title() const {
    wchar_t text[512] = {};
    GetWindowTextW(viewer->window(), text, int(std::size(text)));
    return text;
}

std::wstring ViewerTest::order() const { return host::layer_order(viewer->Map().get()); }

bool ViewerTest::visible(const std::wstring& name) const { return layer_visible(viewer->Map().get(), name); }

bool layer_visible(IMap* map, const std::wstring& name) {
    LONG n = 0;
    com::check(map->get_LayerCount(&n));
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILayer> layer;
        com::check(map->get_Layer(i, layer.put()));
        bool v = false;
        if (find_layer(layer.get(), name, v)) return v;
    }
    throw std::runtime_error("the map has no layer " + com::narrow(name));
}

std::wstring ViewerTest::file(const wchar_t* name) const { return folder + name; }

std::string ViewerTest::contents(const std::wstring& path) {
    std::ifstream in(com::narrow(path), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool same(const host::Pixels& a, const host::Pixels& b) {
    return a.width == b.width && a.height == b.height && a.data == b.data;
}

size_t count(const host::Pixels& p, DWORD color) { return size_t(std::count(p.data.begin(), p.data.end(), color)); }

}  // namespace test
