// Toc: the TOC control. It holds the control's state (the map, the selected layer), its child
// controls (the tree tvwTOC, the image list imlTOC, the timer tToc) and its window, answers
// _TOC, and hands the work to its subsystems, each an object with its own state:
//   tree/      TreeBuilder: the rebuild (Reset), layer items, legends, the expanded-state memory
//   draw/      ItemPainter: the custom-draw answers, painting, swatch metrics
//   interact/  Interaction: the tree's mouse and keys, hit tests, drags, map refresh
//   access/    TreeAccess: the tree as screen readers see it (WM_GETOBJECT, WinEvents)
//   control/   this class: _TOC, the window, the start-up; the OLE control protocol is its
//              base OleControl (ole_control.h), which it supplies with its window and picture
//
// The control's window is made by CreateControlWindow, which the container protocol and the
// tests both use; StartRunTime does the run-time start-up (tree shown, the windows' input handed
// to the subsystems, tree styles, expanded-state memory) for each window the control gets, the
// memory once.
//
// Each of the two windows has one procedure, which hands each message on once: the tree
// window's is the tree's (platform/tree_view.h), whose typed calls reach the interaction and the
// accessible view directly; the control window's is OnWindowMessage (control_window.cpp), which
// handles WM_NOTIFY in one place. The control's own code never goes through _TOC: TreeWndProc
// and CtrlWndProc are there for hosts that call them.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/access/tree_access.h"
#include "kelpy/control/map_view_events.h"
#include "kelpy/control/ole_control.h"
#include "kelpy/control/toc_events.h"
#include "kelpy/draw/item_painter.h"
#include "kelpy/interact/events.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/model/options.h"
#include "kelpy/model/typelib.h"
#include "kelpy/platform/dpi_font.h"
#include "kelpy/platform/image_list.h"
#include "kelpy/platform/timer.h"
#include "kelpy/platform/tree_view.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy {

using platform::NodePtr;

class Toc final : public com::ComObject<Toc, Dispatch<_TOC3>, com::SupportErrorInfo>,
                  public OleControl,
                  public platform::TreeViewOwner,
                  public EventOwner {
public:
    Toc();
    ~Toc() override;

    // ---- IUnknown, for every interface of the control (its own and the OLE control protocol's)
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return ComObject::QueryInterface(riid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return ComObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return ComObject::Release(); }
    // The interfaces beyond the listed ones: _TOC and _TOC2 (the bases of _TOC3) and the OLE
    // control protocol's.
    void* query_more(REFIID riid) noexcept {
        if (riid == IID__TOC2) return static_cast<_TOC2*>(static_cast<_TOC3*>(this));
        if (riid == IID__TOC) return static_cast<_TOC*>(static_cast<_TOC3*>(this));
        return OleControl::Query(riid);
    }

    // ---- _TOC
    STDMETHODIMP get_SelectedLayer(ILayer** layer) override;      // control/toc.cpp
    // For hosts that offer the control a message of the tree window or of the control window
    // (control/host_procedures.cpp): `result` and `handled` come in as 0 and False; setting
    // `handled` keeps the message from the window, a `result` that is not 0 is the answer. The
    // control's windows do not need them: their own procedures route every message.
    STDMETHODIMP TreeWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                             VARIANT_BOOL* handled) override;     // the interaction's and access's
    STDMETHODIMP CtrlWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                             VARIANT_BOOL* handled) override;     // the item painter's
    STDMETHODIMP Initialize(IMap** pMap) override;                // control/toc.cpp
    STDMETHODIMP Reset() override;                                // the tree builder's
    // The map's view was redrawn or its contents changed: with mixed group checks, the check
    // images follow the layers' visibility (a failure is reported to the debugger output and
    // answered).
    HRESULT MapRedrawn() noexcept;                                // control/toc.cpp
    // The map's layers changed: the tree is built again (a control without a window has no tree
    // yet: the start-up of its window builds it). A failure is reported to the debugger output
    // and to the host (OnActionFailed, "rebuild"), and answered.
    HRESULT MapChanged() noexcept;                                // control/toc.cpp

    // ---- _TOC2 (control/options.cpp): the options, each off until the host switches it on and
    // saved with the control's state, and what lies at a point
    STDMETHODIMP get_ShowNestedGroups(VARIANT_BOOL* v) override;
    STDMETHODIMP put_ShowNestedGroups(VARIANT_BOOL v) override;
    STDMETHODIMP get_DropAtMark(VARIANT_BOOL* v) override;
    STDMETHODIMP put_DropAtMark(VARIANT_BOOL v) override;
    STDMETHODIMP get_MixedGroupChecks(VARIANT_BOOL* v) override;
    STDMETHODIMP put_MixedGroupChecks(VARIANT_BOOL v) override;
    STDMETHODIMP get_AllowRename(VARIANT_BOOL* v) override;
    STDMETHODIMP put_AllowRename(VARIANT_BOOL v) override;
    STDMETHODIMP get_ShowTips(VARIANT_BOOL* v) override;
    STDMETHODIMP put_ShowTips(VARIANT_BOOL v) override;
    STDMETHODIMP ItemAt(LONG x, LONG y, _TOCItemInfo** item) override;
    const Options& options() const noexcept { return m_options; }

    // ---- _TOC3 (control/toc.cpp): the object whose default source is __TOC2 (the same object
    // every time)
    STDMETHODIMP get_Events(_TOCEvents** v) override;
    // (control/options.cpp) rows out of the map's scale greyed, feature counts, the host's scale
    STDMETHODIMP get_ShowScaleRanges(VARIANT_BOOL* v) override;
    STDMETHODIMP put_ShowScaleRanges(VARIANT_BOOL v) override;
    STDMETHODIMP get_ShowFeatureCounts(VARIANT_BOOL* v) override;
    STDMETHODIMP put_ShowFeatureCounts(VARIANT_BOOL v) override;
    STDMETHODIMP get_MapScale(double* v) override;
    STDMETHODIMP put_MapScale(double v) override;
    // The map's scale may have changed (its extent, a redraw): rows follow it (control/options.cpp).
    HRESULT MapScaleChanged() noexcept;
    // The map's contents changed: the feature counts are asked for again (control/options.cpp).
    HRESULT MapContentsChanged() noexcept;

    // ---- EventOwner and platform::TreeViewOwner: the control held while its events run and
    // while the tree window's messages are handled; its host has let go of it once only the
    // control's own holds keep it, or its window is gone
    void Hold() noexcept override;
    void Unhold() noexcept override;
    bool Present() const noexcept override;

    // ---- the subsystems and child controls, for tools and tests that work with one of them
    tree::TreeBuilder& builder() noexcept { return m_builder; }
    draw::ItemPainter& painter() noexcept { return m_painter; }
    interact::Interaction& interaction() noexcept { return m_interaction; }
    access::TreeAccess& access() noexcept { return m_access; }
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

    // ---- the life cycle (control/lifecycle.cpp)
    // The run-time start-up: shows the tree, hands the windows' input to the subsystems
    // (Listening), adds the tree styles and rebuilds the tree when a map is set, once per control
    // window; creates the expanded-state memory at the first start only. Later calls for the
    // same window do nothing.
    void StartRunTime();
    bool RunTimeStarted() const noexcept { return m_bRunTimeStarted; }
    // Whether the windows' input reaches the subsystems: the tree's mouse, keys and notifications
    // the interaction, the tree's custom draw the painter. From the run-time start-up of a window
    // until Terminate or the window's end.
    bool Listening() const noexcept { return m_bListening; }
    // Ends the control's run-time hosting: the windows' input no longer reaches the subsystems.
    // Called on Close, on final release and when the window goes.
    void Terminate() noexcept;
    // The caption shown at design time: "KELPY Control " and the library's version.
    static std::wstring DesignCaption();
    // Paints the control's own window (its caption at design time).
    void UserControl_Paint(HDC hdc);

    // ---- the resolution (control/dpi.cpp)
    // Makes the item images, the tree's indent and font and the legend's swatches for the
    // resolution of the control's window; the tree is rebuilt when that changed while it shows a
    // map. Called when the window is made and when its resolution changes.
    void FollowDpi();

private:
    // ---- what the OLE control protocol asks of the control (control/lifecycle.cpp)
    HWND OleWindow() const noexcept override { return m_hWnd; }
    void OleCreateWindow(HWND parent, const RECT& bounds) override { CreateControlWindow(parent, bounds); }
    void OleDestroyWindow() noexcept override { DestroyControlWindow(); }
    void OleStart(bool designMode) override;
    void OleClose() noexcept override { Terminate(); }
    void OlePaintPicture(HDC dc, const RECT& size) override;

    // ---- the options (control/options.cpp): saved and loaded with the control's state
    void LoadProperties(IStream* stream) override;
    void SaveProperties(IStream* stream) override;
    void LoadProperties(IPropertyBag* bag, IErrorLog* log) override;
    void SaveProperties(IPropertyBag* bag, BOOL saveAll) override;
    ULONGLONG PropertiesSizeMax() const override;
    bool AnyOptionOn() const noexcept;
    HRESULT GetOption(bool Options::*option, VARIANT_BOOL* v) const;
    HRESULT PutOption(bool Options::*option, VARIANT_BOOL v);
    // What the options change in the tree window: its styles, and what its items show.
    void ApplyTreeStyles();
    // What an option of the rows' marks changes in the rows shown.
    void FollowMarks(bool Options::*option);

    // ---- the container life cycle (the window calls these)
    void UserControl_Resize();
    // Paints the design-time caption: a white rectangle `bounds` with the caption centred.
    void PaintCaption(HDC dc, const RECT& bounds) const;

    // ---- the control window (control/control_window.cpp)
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnWindowMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    // WM_NOTIFY, all of it: the tree's custom draw to the painter, the rest to the tree.
    LRESULT OnNotify(const NMHDR& header);
    void OnWindowGone() noexcept;
    void Listen(bool on) noexcept;

    // ---- state, in storage order
    Options m_options;
    com::ComPtr<IMap> m_pMap;
    com::ComPtr<ILayer> m_pSelectedLayer;
    MapViewSubscription m_pActiveViewEvents;
    com::ComPtr<TocEvents> m_pEventsObject = TocEvents::create();  // hears __TOC2 with the control
    Events m_events;
    LONG m_holds = 0;  // references that the control's running events hold on it

    // ---- child controls (the tree's font for its resolution outlives the tree)
    platform::DpiFont m_dpiFont;
    platform::ImageList imlTOC;
    platform::TreeView tvwTOC;
    platform::Timer tToc;

    // ---- the subsystems (after the child controls they work on)
    draw::ItemPainter m_painter{tvwTOC, m_options};
    tree::TreeBuilder m_builder{tvwTOC, m_painter, m_options};
    interact::Interaction m_interaction;
    access::TreeAccess m_access{tvwTOC, m_builder, m_interaction};

    // ---- the window and the hosting
    HWND m_hWnd = nullptr;
    bool m_bRunTimeStarted = false;
    bool m_bWindowStarted = false;  // the window part of the start-up ran for this window
    bool m_bListening = false;
};

}  // namespace kelpy
