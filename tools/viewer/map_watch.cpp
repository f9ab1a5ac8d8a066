#include "map_watch.h"
#include <utility>
#include "com/error.h"
#include "com/object.h"

namespace viewer {

class MapWatch::Sink final : public com::ComObject<Sink, IMapViewEvents> {
public:
    Sink(HWND window, UINT message) noexcept : window_(window), message_(message) {}
    void Detach() noexcept { window_ = nullptr; }

    STDMETHODIMP ContentsChanged() override { return Post(); }
    STDMETHODIMP ContentsCleared() override { return Post(); }
    STDMETHODIMP ItemAdded(VARIANT) override { return S_OK; }
    STDMETHODIMP ItemDeleted(VARIANT) override { return S_OK; }
    STDMETHODIMP ItemReordered(VARIANT, LONG) override { return S_OK; }
    STDMETHODIMP SelectionChanged() override { return S_OK; }
    STDMETHODIMP ViewRefreshed(DrawPhase, VARIANT, VARIANT) override { return Post(); }
    STDMETHODIMP AfterDraw(LONG_PTR, DrawPhase) override { return S_OK; }
    STDMETHODIMP AfterItemDraw(LONG, LONG_PTR, DrawPhase) override { return S_OK; }
    STDMETHODIMP FocusChanged() override { return S_OK; }
    STDMETHODIMP ExtentChanged() override { return Post(); }

private:
    HRESULT Post() noexcept {
        if (window_) PostMessageW(window_, message_, 0, 0);
        return S_OK;
    }
    HWND window_;
    UINT message_;
};

MapWatch::MapWatch(IMap* map, HWND window, UINT message) {
    com::ComPtr<IConnectionPointContainer> container;
    if (!map || FAILED(map->QueryInterface(IID_IConnectionPointContainer, container.put_void())) || !container ||
        FAILED(container->FindConnectionPoint(IID_IMapViewEvents, point_.put())) || !point_)
        return;
    auto sink = Sink::create(window, message);
    com::check(point_->Advise(sink->unknown(), &cookie_));
    sink_ = std::move(sink);
}

MapWatch::~MapWatch() {
    if (!sink_) return;
    sink_->Detach();
    point_->Unadvise(cookie_);
}

}  // namespace viewer
