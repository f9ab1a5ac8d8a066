// Toc: the TOC control. One object holds the control's state, its child controls (the tree
// tvwTOC, the image list imlTOC, the timer tToc) and its window; its private procedures live in
// the folders of their subsystems, one file per topic:
//   control/   state, public members, events, map binding, window, run-time start-up
//   tree/      rebuild (Reset, HideTree, GetSavedExpanded), item handles, layer items, legends
//   draw/      custom draw (CtrlWndProc), item painting, symbol shapes, metrics
//   interact/  tree hook (TreeWndProc), hit testing, drag and drop, expand/collapse, map refresh
//
// The control's window is made by CreateControlWindow, which the container protocol and the
// tests both use; StartRunTime does the run-time start-up (tree shown, windows hooked, tree
// styles, expanded-state memory) for each window the control gets, the memory once.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include "com/connection_point.h"
#include "com/dispatch.h"
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/control/map_view_events.h"
#include "kelpy/control/node_states.h"
#include "kelpy/draw/measuring.h"
#include "kelpy/draw/swatch_cache.h"
#include "kelpy/interact/drag_session.h"
#include "kelpy/model/records.h"
#include "kelpy/model/typelib.h"
#include "kelpy/platform/image_list.h"
#include "kelpy/platform/timer.h"
#include "kelpy/platform/tree_view.h"

namespace test {
// The tests' access to the control's procedures and members: each test folder specializes it
// for a tag of its own.
template <class Tag>
struct TocAccess;
}

namespace kelpy {

using platform::NodePtr;

// The sinks of the control's events (__TOC), as the container protocol connects them.
class EventSinks {
public:
    // Calls `call` with every connected sink.
    virtual void ForEach(const std::function<void(IDispatch*)>& call) const = 0;

protected:
    ~EventSinks() = default;
};

class Toc final
    : public com::ComObject<Toc,
                            Dispatch<_TOC>,
                            com::SupportErrorInfo
                            // ---- OLE control protocol: its interfaces are listed here ----
                            , IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject, IOleControl,
                            IViewObject2, IPersistStreamInit, IPersistPropertyBag,
                            com::ConnectionPointContainer<Toc>, IProvideClassInfo2
                            // ---- end of the OLE control protocol's interfaces ----
                            >,
      private platform::TreeViewEvents {
public:
    Toc();
    ~Toc() override;

    // ---- _TOC
    STDMETHODIMP get_SelectedLayer(ILayer** layer) override;      // control/toc.cpp
    STDMETHODIMP TreeWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                             VARIANT_BOOL* handled) override;     // interact/
    STDMETHODIMP CtrlWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                             VARIANT_BOOL* handled) override;     // draw/
    STDMETHODIMP Initialize(IMap** pMap) override;                // control/map_binding.cpp
    STDMETHODIMP Reset() override;                                // tree/reset.cpp

    // ---- the control's window (control/control_window.cpp)
    // Creates the control's window, with the tree filling it: a child of `parent`, or a
    // top-level window when `parent` is null (for tests and tools). One window at a time.
    HWND CreateControlWindow(HWND parent, const RECT& bounds);
    // Destroys the window (and the tree's items with it); nothing when there is none.
    void DestroyControlWindow() noexcept;
    HWND hWnd() const noexcept { return m_hWnd; }

    // ---- run-time start-up (control/run_time.cpp): shows the tree, hooks the windows, adds
    // the tree styles and rebuilds the tree when a map is set, once per control window; creates
    // the expanded-state memory at the first start only. Later calls for the same window do
    // nothing.
    void StartRunTime();
    bool RunTimeStarted() const noexcept { return m_bRunTimeStarted; }

    // ---- OLE control protocol: its public members go here ----
    // What a container learns about the control before it loads it (also registered).
    static constexpr DWORD MiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                        OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
    // The interfaces that are bases of listed ones (IOleWindow, IViewObject, IPersist,
    // IProvideClassInfo).
    void* query_more(REFIID riid) noexcept;

    // IOleObject (control/ole_object.cpp)
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR obj) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent, LPCRECT pos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject (control/ole_inplace.cpp)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;

    // IOleControl (control/ole_inplace.cpp)
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* msg) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject2 (control/view_object.cpp)
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDC, HDC dc,
                      LPCRECTL bounds, LPCRECTL metafileBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                      ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDC,
                             LOGPALETTE** colors) override;
    STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    STDMETHODIMP Unfreeze(DWORD freeze) override;
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IPersist, IPersistStreamInit, IPersistPropertyBag (control/persistence.cpp). The control
    // has no persistent properties: loading and saving succeed and store nothing.
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // IProvideClassInfo2 (control/connection_points.cpp)
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // ---- the life cycle (control/lifecycle.cpp)
    // Ends the control's run-time hosting: gives the two hooked windows their previous
    // procedures back. Called on Close, on final release and when the window goes.
    void Terminate() noexcept;
    // True once the container has loaded the control (Load) or initialised it as new (InitNew).
    bool Loaded() const noexcept { return m_bLoaded; }
    // True when the start-up found the container in design mode (ambient UserMode False).
    bool DesignMode() const noexcept { return m_bDesignMode; }
    // The caption shown at design time: "KELPY Control " and the library's version.
    static std::wstring DesignCaption();

    // ---- the tree as a tool reports it (control/tree_description.cpp): every item in tree
    // order with its native handle, depth (0 for top-level items), text, key, image key, record
    // type and expanded state.
    struct ItemDescription {
        HTREEITEM handle = nullptr;
        int depth = 0;
        std::wstring text, key, image;
        bool hasRecord = false;
        ::TOCNodeType type = ::TOCNodeType::Root;
        bool expanded = false;
    };
    std::vector<ItemDescription> DescribeTree() const;
    // ---- end of the OLE control protocol's public members ----

private:
    template <class Tag>
    friend struct ::test::TocAccess;

    // ---- tree construction (tree/)
    LONG_PTR GetNodeHandle(const NodePtr& node);                   // node_handles.cpp
    NodePtr FindNodeByHandle(LONG_PTR handle);                     // node_handles.cpp
    void HideTree(bool bHide);                                     // reset.cpp
    bool GetSavedExpanded(std::wstring_view text);                 // reset.cpp
    void AddLayerNode(const com::ComPtr<ILayer>& layer, const std::wstring& parentKey,
                      const com::ComPtr<IGroupLayer>& groupLayer);  // layer_node.cpp
    // The legends under a layer item, given the layer, its item and the item's key.
    void AddFeatureLegend(const com::ComPtr<ILayer>& layer, const NodePtr& layerNode, const std::wstring& layerKey);
    void AddRasterLegend(const com::ComPtr<ILayer>& layer, const NodePtr& layerNode, const std::wstring& layerKey);
    void SetRendererSymbol(const com::ComPtr<ISymbol>& symbol, const NodePtr& node);

    // Helpers of the tree builders: a new record for a freshly added item, with its type and
    // its handle (GetNodeHandle) set; the caller sets the other fields and stores it in Tag.
    com::ComPtr<TocNode> NewNodeRecord(const NodePtr& node, ::TOCNodeType type);
    // The group item of a group layer at a map position, with its member layers.
    void AddGroupLayerNode(const com::ComPtr<ILayer>& layer, int16_t position);
    // The expanded state that an item with this text will be given, for its insertion (the same
    // as GetSavedExpanded, or false when the memory does not exist and GetSavedExpanded fails).
    bool ExpandedAtAdd(std::wstring_view text);
    // A key "l" followed by digits, drawn at random, that no item has yet.
    std::wstring NewLayerKey();

    // ---- item drawing (draw/)
    void DrawItem(const com::ComPtr<CustomDrawEventArgs>& args);
    com::ComPtr<ITransformation> CreateTransFromDC(LONG_PTR hdc, LONG width, LONG height);
    com::ComPtr<IGeometry> CreateSymbolGeometry(LONG x, LONG y, LONG width, LONG height, LONG shapeType);
    com::ComPtr<ISymbol> CreateFillSymbol(LONG color);
    com::ComPtr<ISymbol> CreateGradientSymbol(const com::ComPtr<IColorRamp>& ramp);
    void MeasureSymbol(const NodePtr& node);
    // MeasureSymbol's finding, written nowhere (metrics.cpp): none for a row without a symbol
    // or a shape to measure it on.
    std::optional<draw::SwatchMeasure> MeasureSwatch(const TocNode& record);

    // ---- interaction (interact/)
    com::ComPtr<TreeViewHitTestInfo> HitTest(LONG x, LONG y);                    // hit_testing.cpp
    // The item of a hit test's result, or Nothing.
    static NodePtr HitNode(const com::ComPtr<TreeViewHitTestInfo>& hit);         // hit_testing.cpp
    void RefreshTree();                                                          // expand_collapse.cpp
    LONG GetLayerIndex(const com::ComPtr<ILayer>& layer);                        // map_refresh.cpp
    void RefreshMap();                                                           // map_refresh.cpp
    void tvwTOC_MouseDown(int16_t Button, platform::ShiftMask Shift, float x, float y);      // drag_drop.cpp
    void tvwTOC_MouseMove(int16_t Button, platform::ShiftMask Shift, float x, float y);      // drag_drop.cpp
    void tvwTOC_MouseUp(int16_t Button, platform::ShiftMask Shift, float x, float y);        // tree_hook.cpp
    void tvwTOC_Expand(const NodePtr& Node);                                     // expand_collapse.cpp
    void tvwTOC_Collapse(const NodePtr& Node);                                   // expand_collapse.cpp
    void tToc_Timer();                                                           // drag_drop.cpp

    // Helpers of the tree hook (tree_hook.cpp): a release that is no drop, the visibility
    // toggle of a layer or group item, and the choice of a new symbol for a legend row.
    void ClickItem(LONG msg, const com::ComPtr<TreeViewHitTestInfo>& hit);
    void ToggleVisibility(const NodePtr& node, const com::ComPtr<ILayer>& layer);
    void ChooseSymbol(const NodePtr& node, const com::ComPtr<TocNode>& record);
    // Helpers of drag and drop (drag_drop.cpp): the release that ends a drag, and its map calls
    // (true when the drop reached the map); the move of a running drag; the drag cursor.
    void Drop(VARIANT_BOOL& handled);
    bool DropLayer();
    void DragOver(const com::ComPtr<TreeViewHitTestInfo>& hit);
    void ShowDragCursor();
    // Moves of layers for drops and keys (layer_moves.cpp). A Place is where a layer sits: in a
    // group layer at a member position, or in the map (group Nothing) at an index. TakeOut
    // removes a layer from there; PutBackOnFailure runs a step of a move and, when it fails, puts
    // the layer back at its place before the failure goes on.
    struct Place {
        com::ComPtr<IGroupLayer> group;
        LONG position = -1;
    };
    void MoveIntoGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from,
                       const com::ComPtr<IGroupLayer>& group);
    void MoveOutOfGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group);
    Place TakeOut(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group);
    void PutBack(const com::ComPtr<ILayer>& layer, const Place& from) noexcept;
    template <class Step>
    void PutBackOnFailure(const com::ComPtr<ILayer>& layer, const Place& from, Step&& step);
    void RedrawAfterChange();
    // The tree's keys (keyboard.cpp): answers true when the key was the control's.
    bool OnTreeKey(LONG msg, WPARAM key, LPARAM data);
    // Whether the map's top-level order meets the target layer first (the layer would go up),
    // the dragged layer first (down), or neither.
    enum class DragDirection { Up, Down, Neither };
    DragDirection DirectionOfDrop();

    // ---- container life cycle (the container protocol's; the window calls these)
    void UserControl_Resize();
    void UserControl_Paint(HDC hdc);
    // The pictures of imlTOC, in this order: "plus", "minus", "disconnected", "checked",
    // "unchecked", "root".
    void LoadItemImages();

    // ---- events of __TOC (control/events.cpp). Each passes its arguments by reference and
    // gives back what the sinks left in them.
    void RaiseOnContextMenu(::TOCNodeType& nodeType);
    void RaiseOnSymbolSelector(bool& cancel, com::ComPtr<ISymbol>& symbol);
    void RaiseOnDragLayer(bool& cancel, com::ComPtr<ILayer>& layer);
    void RaiseOnBeforeRefreshMap(bool& cancel);
    // Calls every sink's Invoke with the event's dispatch id and arguments.
    void FireEvent(DISPID id, DISPPARAMS& params);

    // ---- the tree's events (control/toc.cpp), handed to the handlers above
    void MouseDown(int16_t button, platform::ShiftMask shift, float x, float y) override;
    void MouseMove(int16_t button, platform::ShiftMask shift, float x, float y) override;
    void MouseUp(int16_t button, platform::ShiftMask shift, float x, float y) override;
    void Expand(const NodePtr& node) override;
    void Collapse(const NodePtr& node) override;

    // ---- the control window (control/control_window.cpp)
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnWindowMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void OnWindowGone() noexcept;

    // ---- state, in storage order
    com::ComPtr<IMap> m_pMap;
    bool m_bDragging = false;
    NodePtr m_pDownNode;
    NodePtr m_pTargetNode;
    NodePtr m_pDragNode;
    NodePtr m_pInsertMarkNode;
    com::ComPtr<ILayer> m_pDragLayer;
    com::ComPtr<ILayer> m_pTargetLayer;
    com::ComPtr<ILayer> m_pSelectedLayer;
    bool m_bResetting = false;
    std::wstring m_sSelectName;
    NodeStates m_aNodeStates;
    MapViewSubscription m_pActiveViewEvents;

    // ---- child controls
    platform::ImageList imlTOC;
    platform::TreeView tvwTOC;
    platform::Timer tToc;

    // ---- item drawing's memory (draw/): what the rebuild that runs has measured, and the
    // swatches of the legend rows painted lately
    draw::MeasureMemo m_measures;
    draw::SwatchCache m_swatches;

    // ---- the running drag (after the child controls, whose timer it holds), and the map's
    // top-level layers by position, as found for the items of one tree (every change of the
    // top-level order rebuilds the tree): a drag asks the map once, not on every move
    std::unique_ptr<interact::DragSession> m_pDragSession;
    struct TopLevelOrder {
        unsigned long tree = ~0ul;  // NodeCollection::clears() when it was read; ~0: never
        std::vector<com::ComPtr<IUnknown>> layers;
        std::unordered_map<IUnknown*, LONG> index;
    } m_topLevel;
    // The position of a layer among the map's top-level layers (its first), or -1.
    LONG TopLevelPosition(ILayer* layer);

    // ---- the window and the hosting
    HWND m_hWnd = nullptr;
    bool m_bRunTimeStarted = false;
    bool m_bWindowStarted = false;  // the window part of the start-up ran for this window
    // The sinks of __TOC; null until the container protocol connects its connection point.
    const EventSinks* m_pEventSinks = nullptr;

    // ---- OLE control protocol: its members go here ----
    // The sinks of __TOC: the connection point that the container advises its sink on. While
    // the container freezes events (IOleControl::FreezeEvents), no event reaches the sinks.
    class OleEvents final : public EventSinks {
    public:
        explicit OleEvents(Toc& toc);
        void ForEach(const std::function<void(IDispatch*)>& call) const override;
        LONG frozen = 0;

    private:
        com::ConnectionPoint& point_;
    };

    // The container loaded the control or initialised it as new (control/lifecycle.cpp).
    void OnLoaded();
    // The mode-dependent start-up, once the control is loaded and has its window: the run-time
    // start-up, or at design time a hidden tree and the caption.
    void UserControl_ReadProperties();
    // The container's ambient UserMode; a container that does not tell means run time.
    bool AmbientUserMode() const;
    // Paints the design-time caption: a white rectangle `bounds` with the caption centred.
    void PaintCaption(HDC dc, const RECT& bounds) const;
    // In-place activation on the client site's in-place site: creates the window inside the
    // site's window and starts the control (control/ole_inplace.cpp).
    void ActivateInPlace(IOleClientSite* site, bool uiActivate);
    void DeactivateInPlace();
    // Tells the view and OLE advise sinks that the control's picture changed.
    void NotifyViewChanged() noexcept;

    com::ComPtr<IOleClientSite> m_pClientSite;
    com::ComPtr<IOleInPlaceSite> m_pInPlaceSite;
    com::ComPtr<IOleAdviseHolder> m_pOleAdviseHolder;
    com::ComPtr<IAdviseSink> m_pViewAdviseSink;
    DWORD m_viewAdviseAspects = 0;
    DWORD m_viewAdviseFlags = 0;
    SIZEL m_extent{5080, 7620};  // HIMETRIC: 192 x 288 pixels at 96 dpi until the container sets it
    bool m_bLoaded = false;
    bool m_bReadPropertiesDone = false;
    bool m_bDesignMode = false;
    bool m_bInPlaceActive = false;
    bool m_bUIActive = false;
    OleEvents m_oleEvents{*this};
    // ---- end of the OLE control protocol's members ----
};

}  // namespace kelpy
