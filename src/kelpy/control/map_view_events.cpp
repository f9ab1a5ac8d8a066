#include "kelpy/control/map_view_events.h"
#include <utility>
#include "com/error.h"
#include "kelpy/control/toc.h"

namespace kelpy {

HRESULT MapViewEventsSink::rebuild() noexcept {
    if (!toc_) return S_OK;
    com::ComPtr<Toc> keep(toc_);  // the rebuild may lead the host to release the control
    return keep->MapChanged();
}

HRESULT MapViewEventsSink::redrawn() noexcept {
    if (!toc_) return S_OK;
    com::ComPtr<Toc> keep(toc_);
    return keep->MapRedrawn();
}

HRESULT MapViewEventsSink::scaled(HRESULT hr) noexcept {
    if (!toc_) return hr;
    com::ComPtr<Toc> keep(toc_);
    const HRESULT after = keep->MapScaleChanged();
    return FAILED(hr) ? hr : after;
}

HRESULT MapViewEventsSink::contents(HRESULT hr) noexcept {
    if (!toc_) return hr;
    com::ComPtr<Toc> keep(toc_);
    const HRESULT after = keep->MapContentsChanged();
    return FAILED(hr) ? hr : after;
}

MapViewSubscription::MapViewSubscription(IMap* map, Toc& toc) {
    com::ComPtr<IConnectionPointContainer> container;
    if (!map || FAILED(map->QueryInterface(IID_IConnectionPointContainer, container.put_void())) || !container)
        com::raise(CONNECT_E_NOCONNECTION, L"The map offers no view events to subscribe to");
    HRESULT hr = container->FindConnectionPoint(IID_IMapViewEvents, point_.put());
    if (FAILED(hr) || !point_) com::raise(CONNECT_E_NOCONNECTION, L"The map offers no view events to subscribe to");
    auto sink = MapViewEventsSink::create(toc);
    com::check(point_->Advise(sink->unknown(), &cookie_));
    sink_ = std::move(sink);
    map_ = map;
    toc.painter().marks().Follow(map);
}

MapViewSubscription::MapViewSubscription(MapViewSubscription&& other) noexcept
    : point_(std::move(other.point_)),
      cookie_(std::exchange(other.cookie_, 0)),
      sink_(std::move(other.sink_)),
      map_(std::exchange(other.map_, nullptr)) {}

MapViewSubscription& MapViewSubscription::operator=(MapViewSubscription&& other) noexcept {
    if (this != &other) {
        end();
        point_ = std::move(other.point_);
        cookie_ = std::exchange(other.cookie_, 0);
        sink_ = std::move(other.sink_);
        map_ = std::exchange(other.map_, nullptr);
    }
    return *this;
}

void MapViewSubscription::end() noexcept {
    if (sink_ && sink_->toc()) sink_->toc()->painter().marks().Unfollow(map_);
    map_ = nullptr;
    if (sink_) sink_->detach();
    if (point_ && cookie_) point_->Unadvise(cookie_);
    point_.reset();
    cookie_ = 0;
    sink_.reset();
}

}  // namespace kelpy
