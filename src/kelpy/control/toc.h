// Toc: the TOC control, its COM face. It holds the control's state (the map, the selected layer),
// its child controls (the tree tvwTOC, the image list imlTOC, the timer tToc) and its window, and
// hands the work to its subsystems, each an object with its own state:
//   tree/      TreeBuilder: the rebuild (Reset), layer items, legends, the expanded-state memory
//   draw/      ItemPainter: the custom-draw answers (CtrlWndProc), painting, swatch metrics
//   interact/  Interaction: the tree hook (TreeWndProc), hit tests, keys, drags, map refresh
//   control/   this class: _TOC, the OLE control protocol, events, the window, the start-up
//
// The control's window is made by CreateControlWindow, which the container protocol and the
// tests both use; StartRunTime does the run-time start-up (tree shown, windows hooked, tree
// styles, expanded-state memory) for each window the control gets, the memory once.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <functional>
#include <string>
#include "com/connection_point.h"
#include "com/dispatch.h"
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/interact/events.h"
#include "kelpy/control/map_view_events.h"
#include "kelpy/draw/item_painter.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/model/typelib.h"
#include "kelpy/platform/image_list.h"
#include "kelpy/platform/timer.h"
#include "kelpy/platform/tree_view.h"
#include "kelpy/platform/window_hooks.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy {

using platform::NodePtr;

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
                  public platform::HookTarget {
public:
    Toc();
    ~Toc() override;

    // ---- IUnknown, also for the window hooks
    STDMETHODIMP_(ULONG) AddRef() override { return ComObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return ComObject::Release(); }

    // ---- _TOC (its two window procedures are also the window hooks')
    STDMETHODIMP get_SelectedLayer(ILayer** layer) override;      // control/toc.cpp
    STDMETHODIMP TreeWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                             VARIANT_BOOL* handled) override;     // the interaction's
    STDMETHODIMP CtrlWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                             VARIANT_BOOL* handled) override;     // the item painter's
    STDMETHODIMP Initialize(IMap** pMap) override;                // control/map_binding.cpp
    STDMETHODIMP Reset() override;                                // the tree builder's

    // ---- the subsystems and child controls, for tools and tests that work with one of them
    tree::TreeBuilder& builder() noexcept { return m_builder; }
    draw::ItemPainter& painter() noexcept { return m_painter; }
    interact::Interaction& interaction() noexcept { return m_interaction; }
    Events& events() noexcept { return m_events; }
    platform::TreeView& tree() noexcept { return tvwTOC; }
    const platform::ImageList& images() const noexcept { return imlTOC; }
    bool TimerRunning() const noexcept { return tToc.Enabled(); }
    const com::ComPtr<IMap>& map() const noexcept { return m_pMap; }

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

    // Paints the control's own window (its picture at design time).
    void UserControl_Paint(HDC hdc);
    // ---- end of the OLE control protocol's public members ----

private:
    // ---- container life cycle (the container protocol's; the window calls these)
    void UserControl_Resize();
    // The pictures of imlTOC, in this order: "plus", "minus", "disconnected", "checked",
    // "unchecked", "root".
    void LoadItemImages();

    // ---- the control window (control/control_window.cpp)
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnWindowMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void OnWindowGone() noexcept;

    // ---- state, in storage order
    com::ComPtr<IMap> m_pMap;
    com::ComPtr<ILayer> m_pSelectedLayer;
    MapViewSubscription m_pActiveViewEvents;
    Events m_events;

    // ---- child controls
    platform::ImageList imlTOC;
    platform::TreeView tvwTOC;
    platform::Timer tToc;

    // ---- the subsystems (after the child controls they work on)
    draw::ItemPainter m_painter{tvwTOC};
    tree::TreeBuilder m_builder{tvwTOC, m_painter};
    interact::Interaction m_interaction;

    // ---- the window and the hosting
    HWND m_hWnd = nullptr;
    bool m_bRunTimeStarted = false;
    bool m_bWindowStarted = false;  // the window part of the start-up ran for this window

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
    // Tells the site's frame and document window which object is UI-active (null: none).
    void ShowActiveObject(IOleInPlaceActiveObject* active);
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
