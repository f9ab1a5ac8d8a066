// kelpy-viewer: the KELPY viewer, a desktop application that hosts the TOC control beside the map
// it shows (see viewer.h). A map document given on the command line is opened at start.
//
//   kelpy-viewer [DOCUMENT]
//   kelpy-viewer --picture PICTURE.png [DOCUMENT]
//
// With --picture the viewer starts and shows as usual, then writes what its window shows (frame,
// menus, panes and status bar) to PICTURE.png and ends, printing where the picture went; errors
// go to the standard error. Exit status: 0 done, 1 failed, 2 wrong usage.
#include <windows.h>
#include <ole2.h>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>
#include "app_window.h"
#include "com/bstr.h"
#include "com/error.h"
#include "menus.h"
#include "picture.h"
#include "system_prompts.h"
#include "user_input.h"
#include "viewer.h"
#include "viewer_text.h"

namespace {

struct Arguments {
    std::optional<std::wstring> document;
    std::optional<std::wstring> picture;
};

void print(FILE* to, const std::wstring& text) {
    const std::string utf8 = com::narrow(text);
    std::fwrite(utf8.data(), 1, utf8.size(), to);
    std::fflush(to);
}

std::optional<Arguments> parse(const std::vector<std::wstring>& args) {
    Arguments a;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--picture" && i + 1 < args.size() && !a.picture) a.picture = args[++i];
        else if (!args[i].starts_with(L"--") && !a.document) a.document = args[i];
        else return std::nullopt;
    }
    return a;
}

// The prompts of a run that no one watches: errors go to the standard error, every question is
// answered Cancel, and no menu item is picked.
class UnattendedPrompts final : public viewer::Prompts {
public:
    bool failed = false;
    std::optional<std::wstring> DocumentToOpen(HWND) override { return std::nullopt; }
    std::optional<std::wstring> DocumentToSave(HWND, const std::wstring&) override { return std::nullopt; }
    std::optional<std::wstring> DataToAdd(HWND) override { return std::nullopt; }
    Answer SaveChanges(HWND, const std::wstring&) override { return Answer::Cancel; }
    void ShowError(HWND, const std::wstring& text) override {
        failed = true;
        print(stderr, L"kelpy-viewer: " + text + L"\n");
    }
    UINT PickFromMenu(HWND, HMENU, POINT) override { return 0; }
};

int picture(const Arguments& a) {
    UnattendedPrompts prompts;
    viewer::Viewer viewer(prompts);
    if (a.document && !viewer.Open(*a.document)) return 1;
    host::pump_messages();
    // The control counts features after a paint, on a timer: let it run before the picture.
    Sleep(100);
    host::pump_messages();
    RedrawWindow(viewer.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const host::Pixels shot = host::window_pixels(viewer.window(), true);
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(a.picture->c_str(), MAX_PATH, full, nullptr);
    const std::wstring path = n && n < MAX_PATH ? std::wstring(full, n) : *a.picture;
    host::write_png(shot, path);
    print(stdout, L"picture: " + path + L" (" + std::to_wstring(shot.width) + L" x " + std::to_wstring(shot.height) +
                      L" pixels)\n");
    return prompts.failed ? 1 : 0;
}

int run(const Arguments& a) {
    viewer::SystemPrompts prompts;
    viewer::ViewerOptions options;
    options.quit_on_close = true;
    viewer::Viewer viewer(prompts, options);
    if (a.document) viewer.Open(*a.document);
    const viewer::Accelerators keys;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (viewer.window() && TranslateAcceleratorW(viewer.window(), keys.get(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int main() {
    const auto arguments = parse(host::command_line_arguments());
    if (!arguments) {
        print(stderr, L"usage: kelpy-viewer [--picture PICTURE.png] [DOCUMENT]\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) {
        print(stderr, L"kelpy-viewer: OLE could not start\n");
        return 1;
    }
    int status = 1;
    try {
        status = arguments->picture ? picture(*arguments) : run(*arguments);
    } catch (const com::ComError& e) {
        const std::wstring why = viewer::reason(e);
        print(stderr, L"kelpy-viewer: " + why + L"\n");
        if (!arguments->picture) MessageBoxW(nullptr, why.c_str(), viewer::app_name, MB_OK | MB_ICONERROR);
    } catch (const std::exception& e) {
        print(stderr, L"kelpy-viewer: " + com::widen(e.what()) + L"\n");
    }
    OleUninitialize();
    return status;
}
