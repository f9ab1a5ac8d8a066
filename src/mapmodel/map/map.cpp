#include "mapmodel/map/map.h"
#include "com/variant.h"
#include "mapmodel/display/mapping.h"
#include "mapmodel/geometry/envelope.h"
#include "mapmodel/layers/group_layer.h"
#include "mapmodel/map/map_drawing.h"
#include "win/dib_canvas.h"

namespace mapmodel {

namespace {
constexpr const IID& kMap = __uuidof(IMap);
constexpr const IID& kView = __uuidof(IMapView);
constexpr const IID& kScale = __uuidof(IMapScale);
constexpr DrawPhase kAllPhases =
    DrawPhase(DrawPhaseBackground | DrawPhaseGeography | DrawPhaseAnnotation | DrawPhaseSelection);
}  // namespace

Map::Map() : events_(add_connection_point(__uuidof(IMapViewEvents))) {}

template <class F>
void Map::notify(F&& call) {
    events_.fire<IMapViewEvents>(std::forward<F>(call));
}

// Sinks may release the map while they are called; it stays alive until the call ends.
template <class F>
HRESULT Map::guarded(REFIID iid, F&& body) {
    com::ComPtr<IUnknown> keep(unknown());
    return boundary(iid, std::forward<F>(body));
}

long Map::index_of(ILayer* layer) const {
    long i = position_of(layers_, required(layer, L"The layer"));
    if (i < 0) com::raise(E_INVALIDARG, L"The layer is not in the map");
    return i;
}

STDMETHODIMP Map::get_Name(BSTR* name) { return guarded(kMap, [&] { give_text(name, name_); }); }
STDMETHODIMP Map::put_Name(BSTR name) { return guarded(kMap, [&] { name_ = com::view(name); }); }
STDMETHODIMP Map::get_LayerCount(long* n) { return guarded(kMap, [&] { out(n) = long(layers_.size()); }); }

STDMETHODIMP Map::get_Layer(long index, ILayer** layer) {
    return guarded(kMap, [&] {
        check_index(index, layers_.size(), L"the map");
        give(layer, layers_[size_t(index)]);
    });
}

STDMETHODIMP Map::AddLayer(ILayer* layer) {
    return guarded(kMap, [&] {
        required(layer, L"The layer");
        if (position_of(layers_, layer) >= 0) com::raise(E_INVALIDARG, L"The layer is already in the map");
        layers_.insert(layers_.begin(), com::ComPtr<ILayer>(layer));
        com::Variant item = com::Variant::from_object(layer);
        notify([&](IMapViewEvents* s) { s->ItemAdded(*item.get()); });
        notify([](IMapViewEvents* s) { s->ContentsChanged(); });
    });
}

STDMETHODIMP Map::DeleteLayer(ILayer* layer) {
    return guarded(kMap, [&] {
        long i = index_of(layer);
        com::ComPtr<ILayer> gone = std::move(layers_[size_t(i)]);
        layers_.erase(layers_.begin() + i);
        com::Variant item = com::Variant::from_object(gone.get());
        notify([&](IMapViewEvents* s) { s->ItemDeleted(*item.get()); });
        notify([](IMapViewEvents* s) { s->ContentsChanged(); });
    });
}

STDMETHODIMP Map::MoveLayer(ILayer* layer, long toIndex) {
    return guarded(kMap, [&] {
        long from = index_of(layer);
        if (toIndex < 0 || size_t(toIndex) >= layers_.size())
            com::raise(E_INVALIDARG, L"Cannot move a layer to index " + std::to_wstring(toIndex) + L": the map has " +
                                         std::to_wstring(layers_.size()) + L" layers");
        com::ComPtr<ILayer> moved = std::move(layers_[size_t(from)]);
        layers_.erase(layers_.begin() + from);
        layers_.insert(layers_.begin() + toIndex, moved);
        com::Variant item = com::Variant::from_object(moved.get());
        notify([&](IMapViewEvents* s) { s->ItemReordered(*item.get(), toIndex); });
        notify([](IMapViewEvents* s) { s->ContentsChanged(); });
    });
}

STDMETHODIMP Map::ClearLayers() {
    return guarded(kMap, [&] {
        while (!layers_.empty()) {
            com::ComPtr<ILayer> gone = std::move(layers_.front());
            layers_.erase(layers_.begin());
            com::Variant item = com::Variant::from_object(gone.get());
            notify([&](IMapViewEvents* s) { s->ItemDeleted(*item.get()); });
        }
        notify([](IMapViewEvents* s) { s->ContentsCleared(); });
    });
}

// ---- the view

Bounds Map::extent() const { return extent_.empty ? full_extent(layers_) : extent_; }

MapUnits Map::units() const { return units_ != MapUnits::Unknown ? units_ : units_of(layers_); }

void Map::draw(HDC dc, long width, long height) {
    draw_layers(dc, width, height, layers_, extent(), [this] { return units(); }, [&](long index) {
        notify([&](IMapViewEvents* s) { s->AfterItemDraw(index, reinterpret_cast<LONG_PTR>(dc), DrawPhaseGeography); });
    });
    notify([&](IMapViewEvents* s) { s->AfterDraw(reinterpret_cast<LONG_PTR>(dc), DrawPhaseGeography); });
}

void Map::repaint(DrawPhase phase, const VARIANT& data, const VARIANT& envelope) {
    if (window_ && IsWindow(window_)) {
        RECT client{};
        GetClientRect(window_, &client);
        if (client.right > 0 && client.bottom > 0) {
            win::WindowDC screen(window_);
            win::DibCanvas picture(client.right, client.bottom, screen.get());
            draw(picture.dc(), client.right, client.bottom);
            BitBlt(screen.get(), 0, 0, client.right, client.bottom, picture.dc(), 0, 0, SRCCOPY);
        }
    }
    ++refreshes_;
    notify([&](IMapViewEvents* s) { s->ViewRefreshed(phase, data, envelope); });
}

STDMETHODIMP Map::Refresh() {
    return guarded(kView, [&] {
        com::Variant none;
        repaint(kAllPhases, *none.get(), *none.get());
    });
}

STDMETHODIMP Map::PartialRefresh(DrawPhase phase, IUnknown* data, IEnvelope* envelope) {
    return guarded(kView, [&] {
        com::Variant d, e;
        if (data) d = com::Variant::from_object(data);
        if (envelope) e = com::Variant::from_object(envelope);
        repaint(phase, *d.get(), *e.get());
    });
}

STDMETHODIMP Map::get_Window(LONG_PTR* hwnd) {
    return guarded(kView, [&] { out(hwnd) = reinterpret_cast<LONG_PTR>(window_); });
}

STDMETHODIMP Map::put_Window(LONG_PTR hwnd) {
    return guarded(kView, [&] {
        HWND w = reinterpret_cast<HWND>(hwnd);
        if (w && !IsWindow(w)) com::raise(E_INVALIDARG, L"The handle is not a window");
        if (w == window_) return;
        window_ = w;
        notify([](IMapViewEvents* s) { s->FocusChanged(); });
    });
}

STDMETHODIMP Map::get_Extent(IEnvelope** e) { return guarded(kView, [&] { give(e, make_envelope(extent())); }); }

// Nothing goes back to the layers' full extent.
STDMETHODIMP Map::putref_Extent(IEnvelope* e) {
    return guarded(kView, [&] {
        Bounds b = bounds_of(e);
        if (!b.empty && (b.width() <= 0 || b.height() <= 0))
            com::raise(E_INVALIDARG, L"The map's extent needs a width and a height");
        extent_ = b;
        notify([](IMapViewEvents* s) { s->ExtentChanged(); });
    });
}

STDMETHODIMP Map::Output(LONG_PTR hdc, long width, long height) {
    return guarded(kView, [&] {
        HDC dc = reinterpret_cast<HDC>(hdc);
        if (!dc) com::raise(E_INVALIDARG, L"The device context is null");
        if (width <= 0 || height <= 0) com::raise(E_INVALIDARG, L"The picture needs a positive width and height");
        win::SavedState saved(dc);
        draw(dc, width, height);
    });
}

STDMETHODIMP Map::get_RefreshCount(long* n) { return guarded(kView, [&] { out(n) = refreshes_; }); }

// ---- the scale

STDMETHODIMP Map::get_Scale(double* denominator) {
    return guarded(kScale, [&] {
        double& result = out(denominator);
        const MapUnits u = units();
        if (u == MapUnits::Unknown)
            com::raise(E_FAIL, L"The map has no scale: its units are not known (put Units, or give a document's "
                               L"\"units\": \"meters\" or \"degrees\")");
        if (!window_ || !IsWindow(window_)) com::raise(E_FAIL, L"The map has no scale: its view has no window");
        RECT client{};
        GetClientRect(window_, &client);
        if (client.right <= 0 || client.bottom <= 0) com::raise(E_FAIL, L"The map has no scale: its window has no area");
        const Bounds world = fitted(extent(), client.right, client.bottom);
        if (world.empty) com::raise(E_FAIL, L"The map has no scale: it shows nothing (no extent and no layer with one)");
        win::WindowDC screen(window_);
        const std::optional<double> scale = scale_of(world, client.right, resolution_of(screen.get()), u);
        if (!scale) com::raise(E_FAIL, L"The map has no scale: its window has no resolution");
        result = *scale;
    });
}

STDMETHODIMP Map::get_Units(BSTR* units) { return guarded(kScale, [&] { give_text(units, word_of(this->units())); }); }

// "" goes back to the units the layers imply.
STDMETHODIMP Map::put_Units(BSTR units) {
    return guarded(kScale, [&] {
        const std::optional<MapUnits> u = units_named(com::view(units));
        if (!u) com::raise(E_INVALIDARG, L"Unknown units " + in_quotes(com::view(units)) + L" (expected \"meters\", \"degrees\" or \"\")");
        units_ = *u;
    });
}

}  // namespace mapmodel
