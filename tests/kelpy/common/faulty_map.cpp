#include "kelpy/common/faulty_map.h"
#include "com/boundary.h"

namespace test {

void FaultyMap::fail_at(int n, HRESULT hr, std::wstring description) {
    calls_ = 0;
    fail_at_ = n;
    hr_ = hr;
    description_ = std::move(description);
}

template <class F>
HRESULT FaultyMap::call(F&& forward) {
    if (++calls_ == fail_at_) {
        return com::boundary(IID_IMap, [&] { com::raise(hr_, description_, L"FaultyMap"); });
    }
    return forward();
}

STDMETHODIMP FaultyMap::GetTypeInfoCount(UINT* n) {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
}

STDMETHODIMP FaultyMap::get_Name(BSTR* name) {
    ++name_reads_;
    return call([&] { return real_->get_Name(name); });
}
STDMETHODIMP FaultyMap::put_Name(BSTR name) { return call([&] { return real_->put_Name(name); }); }
STDMETHODIMP FaultyMap::get_LayerCount(LONG* n) { return call([&] { return real_->get_LayerCount(n); }); }
STDMETHODIMP FaultyMap::get_Layer(LONG index, ILayer** layer) {
    return call([&] {
        if (index != nothing_at_ || !layer) return real_->get_Layer(index, layer);
        *layer = nullptr;
        return S_OK;
    });
}
STDMETHODIMP FaultyMap::AddLayer(ILayer* layer) { return call([&] { return real_->AddLayer(layer); }); }
STDMETHODIMP FaultyMap::DeleteLayer(ILayer* layer) { return call([&] { return real_->DeleteLayer(layer); }); }
STDMETHODIMP FaultyMap::MoveLayer(ILayer* layer, LONG toIndex) {
    return call([&] { return real_->MoveLayer(layer, toIndex); });
}
STDMETHODIMP FaultyMap::ClearLayers() { return call([&] { return real_->ClearLayers(); }); }

STDMETHODIMP FaultyMap::Refresh() { return call([&] { return real_.as<IMapView>()->Refresh(); }); }
STDMETHODIMP FaultyMap::PartialRefresh(DrawPhase phase, IUnknown* data, IEnvelope* envelope) {
    return call([&] { return real_.as<IMapView>()->PartialRefresh(phase, data, envelope); });
}
STDMETHODIMP FaultyMap::get_Window(LONG_PTR* hwnd) { return call([&] { return real_.as<IMapView>()->get_Window(hwnd); }); }
STDMETHODIMP FaultyMap::put_Window(LONG_PTR hwnd) { return call([&] { return real_.as<IMapView>()->put_Window(hwnd); }); }
STDMETHODIMP FaultyMap::get_Extent(IEnvelope** e) { return call([&] { return real_.as<IMapView>()->get_Extent(e); }); }
STDMETHODIMP FaultyMap::putref_Extent(IEnvelope* e) { return call([&] { return real_.as<IMapView>()->putref_Extent(e); }); }
STDMETHODIMP FaultyMap::Output(LONG_PTR hdc, LONG width, LONG height) {
    return call([&] { return real_.as<IMapView>()->Output(hdc, width, height); });
}
STDMETHODIMP FaultyMap::get_RefreshCount(LONG* n) {
    return call([&] { return real_.as<IMapView>()->get_RefreshCount(n); });
}

STDMETHODIMP FaultyMap::EnumConnectionPoints(IEnumConnectionPoints** out) {
    return real_.as<IConnectionPointContainer>()->EnumConnectionPoints(out);
}

STDMETHODIMP FaultyMap::FindConnectionPoint(REFIID riid, IConnectionPoint** out) {
    if (events_hidden_) {
        if (out) *out = nullptr;
        return CONNECT_E_NOCONNECTION;
    }
    return real_.as<IConnectionPointContainer>()->FindConnectionPoint(riid, out);
}

}  // namespace test
