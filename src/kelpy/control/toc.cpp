// The control: its construction and its members of _TOC (Initialize binds the control to one
// map, whose view notifications rebuild the tree).
#include "kelpy/control/toc.h"
#include "com/boundary.h"
#include "com/error.h"
#include "kelpy/platform/handler.h"
#include "kelpy/tree/item_images.h"

namespace kelpy {

namespace {
constexpr UINT toc_timer_id = 1;
constexpr UINT toc_timer_interval_ms = 25;
constexpr COLORREF magenta = RGB(255, 0, 255);
}  // namespace

Toc::Toc()
    : OleControl(CLSID_TOC),
      imlTOC(16, 16, magenta),
      tToc(toc_timer_id, toc_timer_interval_ms),
      m_interaction(m_pMap, m_pSelectedLayer, m_hWnd, tvwTOC, tToc, m_builder, m_painter, m_events, m_options) {
    const EventSinks& sinks = AddEventSource(DIID___TOC);
    m_events.Connect(&sinks, &AddEventSource(DIID___TOC2, m_pEventsObject.get()), this);
    tree::LoadItemImages(imlTOC);
    tvwTOC.SetImageList(&imlTOC);
    tvwTOC.SetWatcher(&m_access);
    tvwTOC.SetOwner(this);
    // The timer tToc runs only while a layer is dragged (its ticks would do nothing otherwise;
    // an idle control wakes its thread for nothing 40 times a second).
}

Toc::~Toc() {
    // Nothing may call into the control once it is going: the windows' input, the map's
    // notifications and the window's messages are cut off first (the tree window first of all
    // stops holding the control, whose count must not rise again).
    tvwTOC.SetOwner(nullptr);
    Listen(false);
    m_pActiveViewEvents.end();
    tvwTOC.SetWatcher(nullptr);
    DestroyControlWindow();
}

STDMETHODIMP Toc::get_SelectedLayer(ILayer** layer) {
    return com::boundary(IID__TOC, [&] {
        if (!layer) com::raise(E_POINTER);
        *layer = com::ComPtr<ILayer>(m_pSelectedLayer).detach();
    });
}

STDMETHODIMP Toc::get_Events(_TOCEvents** v) {
    return com::boundary(IID__TOC3, [&] {
        if (!v) com::raise(E_POINTER);
        *v = com::ComPtr<_TOCEvents>(m_pEventsObject.get()).detach();
    });
}

void Toc::Hold() noexcept {
    ++m_holds;
    AddRef();
}

void Toc::Unhold() noexcept {
    --m_holds;
    Release();
}

bool Toc::Present() const noexcept { return m_hWnd && ref_count() > ULONG(m_holds); }

STDMETHODIMP Toc::Reset() {
    return com::boundary(IID__TOC, [&] { m_builder.Rebuild(m_pMap); });
}

HRESULT Toc::MapRedrawn() noexcept {
    // A resize or a new resolution of the map's window changes its scale without an extent
    // change: the rows show it at the next redraw.
    const HRESULT scaled = MapScaleChanged();
    if (!m_options.mixedGroupChecks || !m_bWindowStarted) return scaled;
    const HRESULT hr = com::boundary(IID__TOC, [&] { m_builder.FollowVisibility(); });
    if (FAILED(hr)) platform::report_failure(L"The check images after a redraw of the map", hr);
    return hr;
}

HRESULT Toc::MapChanged() noexcept {
    if (!m_hWnd) return S_OK;
    // A map's event source has no use for a sink's failure (ours ignores it, as most do): the
    // failed rebuild is reported where a window procedure's failure is.
    const HRESULT hr =
        com::boundary(IID__TOC, [&] { ReportFailure(m_events, L"rebuild", [&] { m_builder.Rebuild(m_pMap); }); });
    if (FAILED(hr)) platform::report_failure(L"The rebuild after a change of the map", hr);
    return hr;
}

STDMETHODIMP Toc::Initialize(IMap** pMap) {
    return com::boundary(IID__TOC, [&] {
        if (!pMap) com::raise(E_POINTER);
        IMap* map = *pMap;
        m_pMap = map;
        // The subscription to the previous map ends before the new one starts; without a map
        // there is none.
        m_pActiveViewEvents.end();
        if (map) m_pActiveViewEvents = MapViewSubscription(map, *this);
        // A control without a window (one that a script made, or one that its container has not
        // activated yet) has no tree to build now: the start-up of its window builds it.
        if (!m_hWnd) return;
        com::check(Reset());
    });
}

}  // namespace kelpy
