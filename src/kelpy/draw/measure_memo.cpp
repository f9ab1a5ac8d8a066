#include "kelpy/draw/measuring.h"
#include <functional>

namespace kelpy::draw {

void MeasureMemo::start(HWND tree) noexcept {
    stop();
    tree_ = tree;
}

void MeasureMemo::stop() noexcept {
    measured_.clear();
    dc_.reset();
    tree_ = nullptr;
}

HDC MeasureMemo::dc() {
    if (!dc_) dc_.emplace(win::WindowDC::try_get(tree_));
    return dc_->get();
}

com::ComPtr<IUnknown> MeasureMemo::identity(ISymbol* symbol) {
    com::ComPtr<IUnknown> unknown;
    if (symbol) symbol->QueryInterface(IID_IUnknown, unknown.put_void());
    return unknown;
}

size_t MeasureMemo::Hash::operator()(const Key& k) const noexcept {
    size_t h = std::hash<const void*>()(k.symbol.get());
    for (LONG v : {k.shape.x, k.shape.y, k.shape.width, k.shape.height, k.shape.shapeType})
        h = h * 1000003u ^ std::hash<LONG>()(v);
    return h;
}

const std::optional<SwatchMeasure>* MeasureMemo::find(ISymbol* symbol, const MeasuringShape& shape) const {
    if (!active()) return nullptr;
    auto it = measured_.find(Key{identity(symbol), shape});
    return it == measured_.end() ? nullptr : &it->second;
}

void MeasureMemo::keep(ISymbol* symbol, const MeasuringShape& shape, const std::optional<SwatchMeasure>& measure) {
    if (!active()) return;
    Key key{identity(symbol), shape};
    if (key.symbol) measured_.insert_or_assign(std::move(key), measure);
}

}  // namespace kelpy::draw
