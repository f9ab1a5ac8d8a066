// Viewer: the KELPY viewer's main window, a host of the TOC control as a GIS application hosts it.
//
//   +-------------------------------------------------------------+
//   | File  View                                                  |   menu bar
//   +-------------------+-+---------------------------------------+
//   | TOC control       |s| the map, drawn by the map's view      |
//   | (OLE container)   |p| (MapPane)                             |
//   |                   |l|                                       |
//   +-------------------+-+---------------------------------------+
//   | document | layers | selected layer | dragging | item under the mouse | scale |   status bar
//   |          |        |                | (or what failed)        |      | 1:N   |
//   +-------------------------------------------------------------+
//
// The control comes from kelpy.dll and the map documents from mapmodel.dll (registered, or beside
// the program), the control embedded through the project's own OLE control container
// (host::ControlHost) as a child window of the frame. The control changes the map by itself (check
// images, drags, symbols) and tells the viewer through its events: OnBeforeRefreshMap marks the
// document changed (the control then refreshes the map's view, which draws into the map pane),
// OnDragLayer shows the drag in the status bar until the drop, and OnContextMenu brings up the
// viewer's menu for the item: Visible, Zoom to layer, Colour by field… and Remove layer for a
// layer, Change symbol… for a legend row. Its tips are on, and so is renaming a layer in place
// (F2, a second click on the selected layer, or Rename in its menu); a rename changes the document.
// The status bar shows what lies under the mouse in the control (ItemAt), and an action of the
// control that failed (OnActionFailed) until the next one starts, and the map's scale (IMapScale,
// nothing when the map has none) whenever its extent, its contents or the pane's size change.
// The map is zoomed and panned in its pane (MapPane): each step puts the extent on the map's view,
// redraws it and changes the document. GeoJSON and TopoJSON files come in as layers through
// File > Add data… or by being dropped on the window. The menus act through the control's own keys where the control has them
// (Space toggles the selected layer, Enter chooses a legend row's symbol), so that what a menu
// does is exactly what the control's keys and clicks do.
//
// Every question to the person (file dialogs, unsaved changes, errors, the context menu's choice)
// goes through Prompts. Unsaved changes are asked about before another document is opened and
// before the window closes. A document that cannot be opened is shown as an error and the open
// map stays.
//
// The commands are the menu items' WM_COMMAND ids (commands.h) and can be sent as such.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include "com/ptr.h"
#include "control_events.h"
#include "control_host.h"
#include "kelpy.h"
#include "map_pane.h"
#include "map_watch.h"
#include "mapmodel.h"
#include "mouse_watch.h"
#include "prompts.h"
#include "recent_files.h"
#include "splitter.h"
#include "tree_items.h"

namespace viewer {

struct ViewerOptions {
    // Under HKEY_CURRENT_USER: where the recent documents are kept.
    std::wstring settings_key = L"Software\\KELPY\\Viewer";
    POINT position{CW_USEDEFAULT, CW_USEDEFAULT};  // of the window on the screen
    SIZE size{960, 640};                           // of the whole window
    bool topmost = false;        // above every window that is not topmost
    bool quit_on_close = false;  // the thread's message loop ends when the window is gone
};

// The parts of the status bar.
enum StatusPart { StatusDocument, StatusLayers, StatusSelected, StatusDrag, StatusItem, StatusScale };

class Viewer final : private ControlEventHandler {
public:
    Viewer(Prompts& prompts, const ViewerOptions& options = {});
    // Destroys the window (without asking about unsaved changes).
    ~Viewer();
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // The frame window; null once it is closed.
    HWND window() const noexcept { return frame_; }
    // The control's tree window and the map pane's window (null once closed).
    HWND tree() const noexcept { return tree_; }
    HWND map_window() const noexcept { return map_pane_ ? map_pane_->window() : nullptr; }
    HWND status_bar() const noexcept { return status_; }

    // Opens a document and shows its map (no question about unsaved changes: for the start).
    // An error is shown through the prompts, and the open map stays; answers whether it opened.
    bool Open(const std::wstring& path);
    // Adds the layers of a GeoJSON or TopoJSON file on top of the map (of a new, untitled map
    // when none is open). A file that cannot be read adds nothing and is shown as an error;
    // answers whether it was added.
    bool AddData(const std::wstring& path);

    const std::wstring& DocumentPath() const noexcept { return path_; }
    const com::ComPtr<IMap>& Map() const noexcept { return map_; }
    bool Modified() const noexcept { return modified_; }
    const RecentFiles& Recent() const noexcept { return recent_; }

private:
    // The viewer's own message: the map's scale may have changed (from the map watch).
    static constexpr UINT WM_VIEWER_SCALE = WM_APP + 4;

    // ---- the window (viewer.cpp)
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(UINT command);
    void OnDestroy() noexcept;
    RECT PaneArea() const;
    void Layout();
    void UpdateStatus();
    // The status bar's part for what lies under the mouse in the control.
    void UpdateItemStatus();
    // The status bar's part for the map's scale.
    void UpdateScale();
    void UpdateTitle();
    void UpdateMenus();
    void SetModified(bool modified);
    void ShowError(const std::wstring& text);
    // Runs a step of the person's: what fails in it is shown, and the viewer goes on. Answers
    // whether the step succeeded.
    bool Attempt(const std::function<void()>& step) noexcept;

    // ---- documents (documents.cpp)
    // Asks about unsaved changes: answers whether to go on (Yes saved them, No drops them).
    bool ConfirmDiscard();
    void OnOpen();
    void OnOpenRecent(size_t index);
    bool OnSave();
    bool OnSaveAs();
    bool SaveTo(const std::wstring& path);
    void OnClose();
    // Shows the document's map: the control bound to it, the view in the map pane. An untitled
    // document has no path.
    void Bind(const com::ComPtr<IMapDocument>& document, const std::wstring& path);

    // ---- geographic data (data_commands.cpp)
    void NewDocument();
    void OnAddData();
    void OnDropFiles(HDROP drop);
    bool CanColorByField(ILayer* layer) const;
    void ColorByField(ILayer* layer, POINT at);

    // ---- the map's view and the layers (layer_commands.cpp)
    void OnContextMenuRequest();
    void ShowLayerMenu(HTREEITEM item, const LayerPlace& place, POINT at);
    void ShowLegendMenu(HTREEITEM item, const LayerPlace& place, POINT at);
    // Selects the item and hands the tree one of the control's keys for it.
    void PressKeyOn(HTREEITEM item, WORD key);
    void ZoomTo(IEnvelope* extent);
    void ZoomTo(const Extent& extent);
    void ZoomToLayer(ILayer* layer);
    void RemoveLayer(const LayerPlace& place);
    void RefreshView();

    // ---- the control's events (viewer.cpp)
    void OnContextMenu(::TOCNodeType type) override;
    void OnSymbolSelector(bool& cancel, ISymbol* symbol) override;
    void OnDragLayer(bool& cancel, ILayer* layer) override;
    void OnBeforeRefreshMap(bool& cancel) override;
    void OnLayerRenaming(ILayer* layer, std::wstring& newName, bool& cancel) override;
    void OnActionFailed(const std::wstring& action, LONG number, const std::wstring& description) override;

    Prompts& prompts_;
    ViewerOptions options_;
    RecentFiles recent_;
    Splitter splitter_{280};

    HWND frame_ = nullptr;
    HWND status_ = nullptr;
    HWND tree_ = nullptr;
    std::unique_ptr<MapPane> map_pane_;
    com::ComPtr<_TOC2> toc_;
    std::unique_ptr<host::ControlHost> host_;
    std::unique_ptr<ControlEvents> events_;
    std::unique_ptr<MouseWatch> mouse_watch_;
    std::unique_ptr<MapWatch> map_watch_;  // of the map shown

    com::ComPtr<IMapDocument> document_;
    com::ComPtr<IMap> map_;
    std::wstring path_;
    bool modified_ = false;

    // The layer being dragged, from OnDragLayer to the drop (OnBeforeRefreshMap, or the next
    // button release when the drop moves nothing).
    std::optional<std::wstring> dragging_;
    std::wstring failed_;  // what the control's last action that failed says, until the next one
    // A context menu the control asked for, shown once the control's own handling is over (a
    // right-button release reports its item twice: one menu).
    struct MenuRequest {
        ::TOCNodeType type;
        bool keyboard;  // Shift+F10 or the context-menu key: for the selected item
        POINT at;       // where the button was released (screen)
    };
    std::optional<MenuRequest> menu_request_;
};

}  // namespace viewer
