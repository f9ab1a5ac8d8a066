// snapshot: hosts the TOC control in a window the way a host application does (through the OLE
// control protocol), made by the class factory of the kelpy.dll beside the program, binds it to
// the map of a map document, prints the control's tree as its tree window shows it (indented
// text, tree_reader.h) and the map's layers in drawing order, and writes a PNG picture of the
// control.
// Then it performs the user actions given with --do, one after another, each through a
// person's mouse on the control (see user_actions.h), and after each prints the tree and the
// layers again and writes a picture of its own (PICTURE-1.png, PICTURE-2.png, ...).
// Properties of the control's second interface (_TOC2: ShowNestedGroups, DropAtMark, ...) are
// set with --set Name=Value before the map is bound, through the control's IDispatch by name.
//
//   snapshot [--out PICTURE.png] [--width N] [--height N] [--set NAME=VALUE]... [--do ACTION]... [DOCUMENT]
//
// DOCUMENT defaults to samples\sample-map.json beside the program; the picture to
// snapshot.png in the current directory. The tool is aware of the screen's resolution, as a
// high-DPI host is: the control draws for it, and the window's size, 320 x 480 pixels at 96 dpi
// unless given, is scaled to it. Exit status: 0 done, 1 failed (the reason goes to
// the standard error), 2 wrong usage.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>
#include "app_window.h"
#include "com/error.h"
#include "com_server.h"
#include "control_host.h"
#include "kelpy.h"
#include "map_document.h"
#include "map_text.h"
#include "property_setting.h"
#include "scripted_selector.h"
#include "tree_reader.h"
#include "user_actions.h"
#include "user_input.h"

namespace {

struct Arguments {
    std::wstring document;
    std::wstring picture = L"snapshot.png";
    int width = 0;  // 0: the default for the screen's resolution
    int height = 0;
    std::vector<host::PropertySetting> settings;
    std::vector<snapshot::UserAction> actions;
};

void print(FILE* to, const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), n, nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), to);
    std::fflush(to);
}

std::wstring full_path(const std::wstring& path) {
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return n && n < MAX_PATH ? std::wstring(full, n) : path;
}

std::optional<int> size_argument(const std::wstring& text) {
    try {
        size_t used = 0;
        const int v = std::stoi(text, &used);
        if (used == text.size() && v >= 16 && v <= 4096) return v;
    } catch (...) {
    }
    return std::nullopt;
}

std::optional<Arguments> parse(const std::vector<std::wstring>& args) {
    Arguments a;
    a.document = host::program_dir() + L"samples\\sample-map.json";
    bool document_given = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool has_value = i + 1 < args.size();
        if (arg == L"--out" && has_value) {
            a.picture = args[++i];
        } else if ((arg == L"--width" || arg == L"--height") && has_value) {
            auto v = size_argument(args[++i]);
            if (!v) return std::nullopt;
            (arg == L"--width" ? a.width : a.height) = *v;
        } else if (arg == L"--set" && has_value) {
            auto setting = host::parse_setting(args[++i]);
            if (!setting) return std::nullopt;
            a.settings.push_back(*setting);
        } else if (arg == L"--do" && has_value) {
            auto action = snapshot::parse_action(args[++i]);
            if (!action) return std::nullopt;
            a.actions.push_back(*action);
        } else if (!arg.starts_with(L"--") && !document_given) {
            a.document = arg;
            document_given = true;
        } else {
            return std::nullopt;
        }
    }
    const int dpi = host::screen_dpi();
    if (!a.width) a.width = MulDiv(320, dpi, 96);
    if (!a.height) a.height = MulDiv(480, dpi, 96);
    a.document = full_path(a.document);
    a.picture = full_path(a.picture);
    return a;
}

// The picture of step n: PICTURE-n.png beside PICTURE.png.
std::wstring step_picture(const std::wstring& picture, size_t n) {
    const size_t dot = picture.find_last_of(L'.');
    const size_t slash = picture.find_last_of(L"\\/");
    const bool has_extension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    const std::wstring stem = has_extension ? picture.substr(0, dot) : picture;
    return stem + L"-" + std::to_wstring(n) + (has_extension ? picture.substr(dot) : L".png");
}

int run(const Arguments& a) {
    auto map = host::open_map(a.document);
    // The control of this build, whatever class the system has registered.
    auto control = host::object_from_library(CLSID_TOC, L"kelpy.dll");
    host::HostOptions options;
    options.userMode = true;
    options.width = a.width;
    options.height = a.height;
    // Mouse input goes to the window under the pointer: the host stays above every other window.
    options.topmost = !a.actions.empty();
    host::ControlHost host(control.get(), options);
    auto toc = control.as<_TOC>();
    std::optional<host::ScriptedSelector> selector;
    if (!a.actions.empty()) selector.emplace();
    for (const host::PropertySetting& setting : a.settings) host::put_property(control.get(), setting);
    IMap* argument = map.get();
    com::check(toc->Initialize(&argument));
    host::pump_messages();
    // The tree window fills the control's window.
    HWND tree = GetWindow(host.controlWindow(), GW_CHILD);

    auto show = [&](const std::wstring& picture) {
        print(stdout, host::outline(tree, L"(no text)"));
        print(stdout, L"layers: " + host::layer_order(map.get()) + L"\n");
        host::write_png(host.render(), picture);
        print(stdout, L"picture: " + picture + L" (" + std::to_wstring(a.width) + L" x " + std::to_wstring(a.height) +
                          L" pixels)\n");
    };
    print(stdout, L"document: " + a.document + L"\n");
    show(a.picture);
    for (size_t i = 0; i < a.actions.size(); ++i) {
        print(stdout, L"\nstep " + std::to_wstring(i + 1) + L": " + a.actions[i].text + L"\n");
        snapshot::perform(a.actions[i], tree, *selector);
        show(step_picture(a.picture, i + 1));
    }
    host.close();
    return 0;
}

}  // namespace

int main() {
    host::declare_dpi_aware();
    const auto arguments = parse(host::command_line_arguments());
    if (!arguments) {
        print(stderr, L"usage: snapshot [--out PICTURE.png] [--width N] [--height N] [--set NAME=VALUE]... [--do ACTION]...\n"
                      L"                [DOCUMENT]\n"
                      L"  (sizes from 16 to 4096 pixels; NAME: a property of _TOC2, such as ShowNestedGroups=True)\n"
                      L"  ACTION: click-check ITEM | drag ITEM TARGET [above|below] | pick-symbol ITEM #RRGGBB\n"
                      L"  (ITEM: an item's text, or a path such as 'Land use/Parks')\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) {
        print(stderr, L"snapshot: OLE could not start\n");
        return 1;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    int status = 1;
    try {
        status = run(*arguments);
    } catch (const com::ComError& e) {
        const std::wstring why = e.description().empty() ? com::describe(e.hr()) : e.description();
        print(stderr, L"snapshot: " + why + L"\n");
    } catch (const std::exception& e) {
        print(stderr, L"snapshot: " + std::wstring(e.what(), e.what() + std::strlen(e.what())) + L"\n");
    }
    OleUninitialize();
    return status;
}
