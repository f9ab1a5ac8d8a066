// The control's subscription to a map's view events (m_pActiveViewEvents).
//
// MapViewEventsSink receives the notifications: an added, deleted or reordered item rebuilds the
// tree (Toc::MapChanged, inside the map's own call; its status goes back to the map); a changed extent
// and a redrawn view have the rows follow the map's scale (Toc::MapScaleChanged), changed or
// cleared contents have them forget their feature counts (Toc::MapContentsChanged); a redrawn view (ViewRefreshed) and changed contents
// (ContentsChanged) have the check images follow the layers' visibility, when the control shows
// mixed group checks (Toc::MapRedrawn): a host that changes a layer's visibility through the map
// model redraws the map to show it, and no notification reports the change itself. The other
// five notifications do nothing. The sink points back at its control without holding a
// reference, so that the map, which holds the sink, does not keep the control alive; the
// subscription detaches the sink when it ends.
//
// MapViewSubscription is the connection itself: made by advising the sink on the map's
// connection point for IMapViewEvents, ended (unadvised) when it is destroyed or replaced.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace kelpy {

class Toc;

class MapViewEventsSink final : public com::ComObject<MapViewEventsSink, IMapViewEvents> {
public:
    explicit MapViewEventsSink(Toc& toc) noexcept : toc_(&toc) {}
    // The control is going: later notifications do nothing.
    void detach() noexcept { toc_ = nullptr; }
    Toc* toc() const noexcept { return toc_; }

    STDMETHODIMP ContentsChanged() override { return contents(redrawn()); }
    STDMETHODIMP ContentsCleared() override { return contents(S_OK); }
    STDMETHODIMP ItemAdded(VARIANT) override { return rebuild(); }
    STDMETHODIMP ItemDeleted(VARIANT) override { return rebuild(); }
    STDMETHODIMP ItemReordered(VARIANT, LONG) override { return rebuild(); }
    STDMETHODIMP SelectionChanged() override { return S_OK; }
    STDMETHODIMP ViewRefreshed(DrawPhase, VARIANT, VARIANT) override { return scaled(redrawn()); }
    STDMETHODIMP AfterDraw(LONG_PTR, DrawPhase) override { return S_OK; }
    STDMETHODIMP AfterItemDraw(LONG, LONG_PTR, DrawPhase) override { return S_OK; }
    STDMETHODIMP FocusChanged() override { return S_OK; }
    STDMETHODIMP ExtentChanged() override { return scaled(S_OK); }

private:
    HRESULT rebuild() noexcept;
    HRESULT redrawn() noexcept;
    // After `hr`: the rows follow the map's scale / forget their feature counts; the first
    // failure is answered.
    HRESULT scaled(HRESULT hr) noexcept;
    HRESULT contents(HRESULT hr) noexcept;
    Toc* toc_;
};

class MapViewSubscription {
public:
    MapViewSubscription() noexcept = default;
    // Subscribes `toc` to the view events of `map`; a map without a connection point for them
    // is an error.
    MapViewSubscription(IMap* map, Toc& toc);
    ~MapViewSubscription() { end(); }
    MapViewSubscription(MapViewSubscription&& other) noexcept;
    MapViewSubscription& operator=(MapViewSubscription&& other) noexcept;

    explicit operator bool() const noexcept { return sink_ != nullptr; }
    // Unadvises the sink and detaches it from the control.
    void end() noexcept;

private:
    com::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
    com::ComPtr<MapViewEventsSink> sink_;
    IMap* map_ = nullptr;  // the map heard, whose scale the control's rows follow meanwhile
};

}  // namespace kelpy
