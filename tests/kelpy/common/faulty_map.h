// FaultyMap: a map that passes every call on to a real map, except its n-th call (counting the
// calls of IMap and of its view, IMapView, from 1), which fails with a chosen status and
// description. Its view events are the real map's, so a control can be bound to it (unless they
// are hidden). It counts the reads of its name: the control reads it once per rebuild.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <string>
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace test {

class FaultyMap final : public com::ComObject<FaultyMap, IMap, IMapView, IConnectionPointContainer> {
public:
    explicit FaultyMap(com::ComPtr<IMap> real) : real_(std::move(real)) {}
    static com::ComPtr<FaultyMap> wrap(com::ComPtr<IMap> real) {
        return create(std::move(real));
    }

    // Fails call n from now on (0: no call fails) and starts counting again.
    void fail_at(int n, HRESULT hr = E_FAIL, std::wstring description = L"The map failed on purpose");
    int calls() const noexcept { return calls_; }
    int name_reads() const noexcept { return name_reads_; }
    // From now on the map offers no connection point for its view events.
    void hide_view_events() noexcept { events_hidden_ = true; }
    // From now on the request for the layer at this index succeeds and answers Nothing (-1:
    // every layer is answered as it is).
    void answer_nothing_at(LONG index) noexcept { nothing_at_ = index; }

    // IDispatch: not needed by the control.
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    // IMap
    STDMETHODIMP get_Name(BSTR* name) override;
    STDMETHODIMP put_Name(BSTR name) override;
    STDMETHODIMP get_LayerCount(LONG* n) override;
    STDMETHODIMP get_Layer(LONG index, ILayer** layer) override;
    STDMETHODIMP AddLayer(ILayer* layer) override;
    STDMETHODIMP DeleteLayer(ILayer* layer) override;
    STDMETHODIMP MoveLayer(ILayer* layer, LONG toIndex) override;
    STDMETHODIMP ClearLayers() override;
    // IMapView, the real map's
    STDMETHODIMP Refresh() override;
    STDMETHODIMP PartialRefresh(DrawPhase phase, IUnknown* data, IEnvelope* envelope) override;
    STDMETHODIMP get_Window(LONG_PTR* hwnd) override;
    STDMETHODIMP put_Window(LONG_PTR hwnd) override;
    STDMETHODIMP get_Extent(IEnvelope** e) override;
    STDMETHODIMP putref_Extent(IEnvelope* e) override;
    STDMETHODIMP Output(LONG_PTR hdc, LONG width, LONG height) override;
    STDMETHODIMP get_RefreshCount(LONG* n) override;
    // IConnectionPointContainer, the real map's
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override;

private:
    // Counts a call; answers the failure when it is the chosen one, else calls the real map.
    template <class F>
    HRESULT call(F&& forward);

    com::ComPtr<IMap> real_;
    int calls_ = 0;
    int name_reads_ = 0;
    bool events_hidden_ = false;
    LONG nothing_at_ = -1;
    int fail_at_ = 0;
    HRESULT hr_ = E_FAIL;
    std::wstring description_;
};

}  // namespace test
