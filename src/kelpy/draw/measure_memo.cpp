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

namespace {
size_t with_shape(size_t h, const MeasuringShape& shape) {
    for (LONG v : {shape.x, shape.y, shape.width, shape.height, shape.shapeType}) h = h * 1000003u ^ std::hash<LONG>()(v);
    return h;
}
}  // namespace

size_t MeasureMemo::Hash::operator()(const Key& k) const noexcept {
    return with_shape(std::hash<const void*>()(k.symbol.get()), k.shape);
}

size_t MeasureMemo::AlikeHash::operator()(const AlikeKey& k) const noexcept {
    return with_shape(k.like.hash(), k.shape) * 1000003u ^ std::hash<int>()(k.dpi);
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

const SwatchMeasure* MeasureMemo::find_alike(const SymbolLikeness& like, const MeasuringShape& shape, int dpi) const {
    auto it = alike_.find(AlikeKey{like, shape, dpi});
    return it == alike_.end() ? nullptr : &it->second;
}

void MeasureMemo::keep_alike(SymbolLikeness like, const MeasuringShape& shape, int dpi, const SwatchMeasure& measure) {
    if (measure.width_failure || alike_.size() >= most_alike) return;
    alike_.insert_or_assign(AlikeKey{std::move(like), shape, dpi}, measure);
}

}  // namespace kelpy::draw
