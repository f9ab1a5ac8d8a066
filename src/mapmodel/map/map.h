// Map: a name and layers in drawing order (index 0 on top; AddLayer puts a layer there), and
// the map's view (IMapView, the same object), which a host attaches to a window.
//
// Every change of the top-level layer list notifies the sinks of IMapViewEvents
// synchronously, inside the call, after the change: ItemAdded, ItemDeleted or ItemReordered,
// then ContentsChanged. ClearLayers reports ItemDeleted for every layer, top first, then
// ContentsCleared. Refresh and PartialRefresh repaint the window and report ViewRefreshed;
// every drawing of the map reports AfterItemDraw per top-level layer and then AfterDraw.
// Putting the extent reports ExtentChanged; attaching another window reports FocusChanged.
// The model has no selection, so SelectionChanged is never reported. A call that fails
// changes nothing and reports nothing; changes inside a group layer report nothing.
//
// The view's scale (IMapScale) follows from the extent in use, the window's width and
// resolution and the map's units: those put, else those its layers imply (map_scale.h).
#pragma once
#include <vector>
#include "com/connection_point.h"
#include "com/object.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/map/map_scale.h"
#include "mapmodel/support.h"

namespace mapmodel {

class Map final : public com::ComObject<Map, Dispatch<IMap>, Dispatch<IMapView>, Dispatch<IMapScale>,
                                         com::ConnectionPointContainer<Map>, com::SupportErrorInfo> {
public:
    Map();

    // IMap
    STDMETHODIMP get_Name(BSTR* name) override;
    STDMETHODIMP put_Name(BSTR name) override;
    STDMETHODIMP get_LayerCount(long* n) override;
    STDMETHODIMP get_Layer(long index, ILayer** layer) override;
    STDMETHODIMP AddLayer(ILayer* layer) override;
    STDMETHODIMP DeleteLayer(ILayer* layer) override;
    STDMETHODIMP MoveLayer(ILayer* layer, long toIndex) override;
    STDMETHODIMP ClearLayers() override;

    // IMapView
    STDMETHODIMP Refresh() override;
    STDMETHODIMP PartialRefresh(DrawPhase phase, IUnknown* data, IEnvelope* envelope) override;
    STDMETHODIMP get_Window(LONG_PTR* hwnd) override;
    STDMETHODIMP put_Window(LONG_PTR hwnd) override;
    STDMETHODIMP get_Extent(IEnvelope** e) override;
    STDMETHODIMP putref_Extent(IEnvelope* e) override;
    STDMETHODIMP Output(LONG_PTR hdc, long width, long height) override;
    STDMETHODIMP get_RefreshCount(long* n) override;

    // IMapScale
    STDMETHODIMP get_Scale(double* denominator) override;
    STDMETHODIMP get_Units(BSTR* units) override;
    STDMETHODIMP put_Units(BSTR units) override;

    // The extent put on the view, or an empty one while the view follows the layers' full
    // extent (Extent answers the extent in use, which cannot tell the two apart; a saved
    // document must).
    const Bounds& explicit_extent() const { return extent_; }
    // The units put on the map (Unknown while its layers decide them); a saved document keeps
    // only these.
    MapUnits explicit_units() const { return units_; }

private:
    template <class F>
    void notify(F&& call);
    template <class F>
    HRESULT guarded(REFIID iid, F&& body);
    long index_of(ILayer* layer) const;
    Bounds extent() const;
    MapUnits units() const;
    void draw(HDC dc, long width, long height);
    void repaint(DrawPhase phase, const VARIANT& data, const VARIANT& envelope);

    com::ConnectionPoint& events_;
    std::wstring name_ = L"Layers";
    std::vector<com::ComPtr<ILayer>> layers_;
    HWND window_ = nullptr;
    Bounds extent_;  // empty: the layers' full extent
    long refreshes_ = 0;
    MapUnits units_ = MapUnits::Unknown;  // Unknown: as the layers imply
};

}  // namespace mapmodel
