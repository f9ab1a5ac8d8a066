#include "viewer.h"
#include <windowsx.h>
#include <commctrl.h>
#include <shellapi.h>
#include <algorithm>
#include <cwctype>
#include <iterator>
#include <utility>
#include "com/boundary.h"
#include "com/bstr.h"
#include "com/error.h"
#include "app_window.h"
#include "com_server.h"
#include "commands.h"
#include "menus.h"
#include "viewer_text.h"

namespace viewer {

namespace {

constexpr wchar_t window_class[] = L"KelpyViewer";
// The viewer's own messages: a context menu the control asked for; a mouse button pressed or
// released or the mouse moved (from the mouse watch, wParam the mouse's message); the status bar
// to be shown anew once the control's handling is over (WM_VIEWER_SCALE is the class's).
constexpr UINT WM_VIEWER_CONTEXT_MENU = WM_APP + 1;
constexpr UINT WM_VIEWER_MOUSE = WM_APP + 2;
constexpr UINT WM_VIEWER_STATUS = WM_APP + 3;


std::wstring name_of(ILayer* layer) {
    com::Bstr name;
    if (layer) com::check(layer->get_Name(name.put()));
    return name.str();
}

}  // namespace

Viewer::Viewer(Prompts& prompts, const ViewerOptions& options)
    : prompts_(prompts), options_(options), recent_(options.settings_key, CmdRecentLast - CmdRecentFirst + 1) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);  // the status bar's class and the control's tree's
    host::register_window_class(window_class, &Viewer::WindowProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */),
                                L"the viewer's window class");
    Menu menu = make_menu_bar();
    frame_ = CreateWindowExW(options.topmost ? WS_EX_TOPMOST : 0, window_class, app_name,
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, options.position.x, options.position.y,
                             options.size.cx, options.size.cy, nullptr, menu.get(), GetModuleHandleW(nullptr), this);
    if (!frame_) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not create the viewer's window");
    menu.release();  // the window's now
    DragAcceptFiles(frame_, TRUE);
    try {
        status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame_,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!status_) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not create the status bar");
        map_pane_ = std::make_unique<MapPane>(frame_, [this](const Extent& e) { Attempt([&] { ZoomTo(e); }); });

        // The control, embedded as a form embeds it, at run time.
        auto control = host::create_object(CLSID_TOC, L"kelpy.dll");
        toc_ = control.as<_TOC2>();
        com::check(toc_->put_ShowTips(VARIANT_TRUE));
        com::check(toc_->put_AllowRename(VARIANT_TRUE));
        // Layers out of the map's scale greyed, and the features counted per class.
        auto third = control.as<_TOC3>();
        com::check(third->put_ShowScaleRanges(VARIANT_TRUE));
        com::check(third->put_ShowFeatureCounts(VARIANT_TRUE));
        host::HostOptions hosting;
        hosting.parent = frame_;
        hosting.userMode = true;
        host_ = std::make_unique<host::ControlHost>(control.get(), hosting);
        events_ = std::make_unique<ControlEvents>(control.get(), static_cast<ControlEventHandler&>(*this));
        tree_ = GetWindow(host_->controlWindow(), GW_CHILD);
        mouse_watch_ = std::make_unique<MouseWatch>(frame_, WM_VIEWER_MOUSE);
    } catch (...) {
        DestroyWindow(frame_);
        throw;
    }
    UpdateMenus();
    UpdateTitle();
    Layout();
    UpdateStatus();
    ShowWindow(frame_, SW_SHOWNORMAL);
    UpdateWindow(frame_);
    if (tree_) SetFocus(tree_);
}

Viewer::~Viewer() {
    if (frame_) DestroyWindow(frame_);
}

// ---- the window

LRESULT CALLBACK Viewer::WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* viewer = reinterpret_cast<Viewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!viewer || !viewer->frame_) return DefWindowProcW(window, msg, wp, lp);
    LRESULT result = 0;
    viewer->Attempt([&] { result = viewer->OnMessage(msg, wp, lp); });
    return result;
}

LRESULT Viewer::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_QUERYENDSESSION:  // the person logs off or shuts down: the same question first
        return ConfirmDiscard() ? TRUE : FALSE;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY: {
        HWND window = std::exchange(frame_, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (options_.quit_on_close) PostQuitMessage(0);
        return DefWindowProcW(window, msg, wp, lp);
    }
    case WM_SIZE:
        if (status_) Layout();
        return 0;
    case WM_SETFOCUS:
        if (tree_) SetFocus(tree_);
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {360, 240};
        return 0;
    case WM_SETCURSOR: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(frame_, &p);
        if (reinterpret_cast<HWND>(wp) == frame_ && LOWORD(lp) == HTCLIENT && splitter_.OnBar(p, PaneArea())) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32644) /* IDC_SIZEWE */));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN:
        splitter_.OnPress(frame_, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, PaneArea());
        return 0;
    case WM_MOUSEMOVE:
        if (splitter_.OnMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, PaneArea())) Layout();
        return 0;
    case WM_LBUTTONUP:
        splitter_.OnRelease();
        return 0;
    case WM_CAPTURECHANGED:
        splitter_.OnCaptureLost();
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_VIEWER_CONTEXT_MENU:
        OnContextMenuRequest();
        return 0;
    case WM_VIEWER_MOUSE:
        if (wp == WM_MOUSEMOVE) {
            UpdateItemStatus();
            return 0;
        }
        // A release with no move to show ends a drag too; a press may have selected a layer.
        if ((wp == WM_LBUTTONUP || wp == WM_RBUTTONUP) && dragging_) dragging_.reset();
        UpdateStatus();
        return 0;
    case WM_VIEWER_STATUS:
        UpdateStatus();
        return 0;
    case WM_VIEWER_SCALE:
        UpdateScale();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(frame_, msg, wp, lp);
}

void Viewer::OnCommand(UINT command) {
    switch (command) {
    case CmdOpen: OnOpen(); break;
    case CmdSave: OnSave(); break;
    case CmdSaveAs: OnSaveAs(); break;
    case CmdAddData: OnAddData(); break;
    case CmdExit: SendMessageW(frame_, WM_CLOSE, 0, 0); break;
    case CmdRefresh: RefreshView(); break;
    case CmdZoomFull: ZoomTo(nullptr); break;
    default:
        if (command >= CmdRecentFirst && command <= CmdRecentLast) OnOpenRecent(command - CmdRecentFirst);
        break;
    }
}

// The window goes: the control is closed and leaves its window, the view leaves the map pane.
void Viewer::OnDestroy() noexcept {
    mouse_watch_.reset();
    map_watch_.reset();
    events_.reset();
    host_.reset();
    map_pane_.reset();
    tree_ = nullptr;
    status_ = nullptr;
    toc_.reset();
    map_.reset();
    document_.reset();
}

RECT Viewer::PaneArea() const {
    RECT area{}, bar{};
    GetClientRect(frame_, &area);
    if (status_) {
        GetWindowRect(status_, &bar);
        area.bottom -= bar.bottom - bar.top;
    }
    if (area.bottom < area.top) area.bottom = area.top;
    return area;
}

void Viewer::Layout() {
    SendMessageW(status_, WM_SIZE, 0, 0);  // the status bar sizes itself to the frame's bottom
    RECT client{};
    GetClientRect(frame_, &client);
    const int width = client.right;
    const int edges[] = {std::max(width - 800, 120), std::max(width - 700, 220), std::max(width - 510, 410),
                         std::max(width - 360, 560), std::max(width - 100, 660), -1};
    SendMessageW(status_, SB_SETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges));

    const Splitter::Panes panes = splitter_.Layout(PaneArea());
    if (host_) host_->place(panes.left);
    if (map_pane_)
        MoveWindow(map_pane_->window(), panes.right.left, panes.right.top, panes.right.right - panes.right.left,
                   panes.right.bottom - panes.right.top, TRUE);
    InvalidateRect(frame_, &panes.bar, TRUE);
    UpdateScale();  // the map pane's width changed
}

void Viewer::UpdateStatus() {
    if (!status_) return;
    auto set = [&](StatusPart part, const std::wstring& text) {
        SendMessageW(status_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
    };
    LONG layers = 0;
    com::ComPtr<ILayer> selected;
    if (map_) map_->get_LayerCount(&layers);
    if (toc_) toc_->get_SelectedLayer(selected.put());
    set(StatusDocument, map_ ? (path_.empty() ? L"Untitled" : path_) : L"No document");
    set(StatusLayers, map_ ? std::to_wstring(layers) + (layers == 1 ? L" layer" : L" layers") : L"");
    set(StatusSelected, selected ? L"Selected: " + name_of(selected.get()) : L"");
    set(StatusDrag, dragging_ ? L"Dragging " + *dragging_ : failed_);
    UpdateItemStatus();
}

void Viewer::UpdateItemStatus() {
    if (!status_) return;
    std::wstring text;
    POINT p{};
    RECT client{};
    HWND control = host_ ? host_->controlWindow() : nullptr;
    if (control && toc_ && GetCursorPos(&p) && ScreenToClient(control, &p) && GetClientRect(control, &client) &&
        PtInRect(&client, p)) {
        com::ComPtr<_TOCItemInfo> item;
        com::check(toc_->ItemAt(p.x, p.y, item.put()));
        if (item) text = item_text(item.get());
    }
    SendMessageW(status_, SB_SETTEXTW, StatusItem, reinterpret_cast<LPARAM>(text.c_str()));
}

// The scale as the map's view tells it; a map without one (units not known, nothing shown) shows
// nothing there.
void Viewer::UpdateScale() {
    if (!status_) return;
    std::wstring text;
    double scale = 0;
    if (auto view = map_ ? map_.query<IMapScale>() : nullptr; view && SUCCEEDED(view->get_Scale(&scale)))
        text = scale_text(scale);
    SendMessageW(status_, SB_SETTEXTW, StatusScale, reinterpret_cast<LPARAM>(text.c_str()));
}

void Viewer::UpdateTitle() {
    const std::wstring title =
        map_ ? (path_.empty() ? L"Untitled" : file_name(path_)) + (modified_ ? L"* - " : L" - ") + app_name
             : std::wstring(app_name);
    SetWindowTextW(frame_, title.c_str());
}

void Viewer::UpdateMenus() {
    HMENU bar = GetMenu(frame_);
    fill_file_menu(bar, recent_.Paths(), map_ != nullptr);
    enable_view_menu(bar, map_ != nullptr);
    DrawMenuBar(frame_);
}

void Viewer::SetModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    UpdateTitle();
}

void Viewer::ShowError(const std::wstring& text) { prompts_.ShowError(frame_, text); }

bool Viewer::Attempt(const std::function<void()>& step) noexcept {
    try {
        try {
            step();
            return true;
        } catch (const com::ComError& e) {
            ShowError(reason(e));
        } catch (const std::exception& e) {
            ShowError(com::widen(e.what()));
        }
    } catch (...) {
        // showing the error failed too (out of memory): the viewer goes on all the same
    }
    return false;
}

// ---- the control's events

void Viewer::OnContextMenu(::TOCNodeType type) {
    if (menu_request_) return;  // the same release, reported again
    const DWORD at = GetMessagePos();
    // Keys are down while their messages are handled: the menu key or Shift+F10 asked, not a release.
    const bool keyboard = GetKeyState(VK_APPS) < 0 || GetKeyState(VK_F10) < 0;
    menu_request_ = MenuRequest{type, keyboard, {GET_X_LPARAM(at), GET_Y_LPARAM(at)}};
    PostMessageW(frame_, WM_VIEWER_CONTEXT_MENU, 0, 0);
}

void Viewer::OnSymbolSelector(bool&, ISymbol*) { failed_.clear(); }

void Viewer::OnDragLayer(bool&, ILayer* layer) {
    failed_.clear();
    com::guarded([&] { dragging_ = name_of(layer); });
    UpdateStatus();
}

// A layer's name edited in place is about to be written: the document changes (the name as the
// layer then reports it shows in the status bar once the control is done).
void Viewer::OnLayerRenaming(ILayer*, std::wstring&, bool&) {
    failed_.clear();
    SetModified(true);
    PostMessageW(frame_, WM_VIEWER_STATUS, 0, 0);
}

// The control changed the map (a layer's visibility, a symbol, the layers' order) and is about to
// refresh the map's view, which draws into the map pane.
void Viewer::OnBeforeRefreshMap(bool&) {
    dragging_.reset();
    failed_.clear();
    SetModified(true);
    UpdateStatus();
}

// An action of the control failed: the status bar says which and why ("Toggle failed: ..."), in
// the part that shows a drag, until the next action starts.
void Viewer::OnActionFailed(const std::wstring& action, LONG, const std::wstring& description) {
    std::wstring what = action;
    if (!what.empty()) what[0] = wchar_t(towupper(what[0]));
    failed_ = what + L" failed: " + description;
    PostMessageW(frame_, WM_VIEWER_STATUS, 0, 0);
}

}  // namespace viewer
