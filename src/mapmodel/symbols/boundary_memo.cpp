#include "mapmodel/symbols/boundary_memo.h"
#include <functional>
#include "mapmodel/symbols/line_symbol.h"

namespace mapmodel {

void add_outline(Likeness& like, int at, ILineSymbol* outline) {
    if (!outline) return;
    com::ComPtr<LineSymbol> ours = LineSymbol::of(outline);
    const Stroke s = ours ? ours->stroke() : stroke_of(outline);
    like.settings[at] = 1;
    like.settings[at + 1] = s.width;
    like.settings[at + 2] = double(s.style);
}

BoundaryMemo& BoundaryMemo::shared() {
    static BoundaryMemo memo;
    return memo;
}

std::optional<BoundaryMemo::Key> BoundaryMemo::key_of(const Likeness& like, const Mapping& m, const Shape& shape) {
    Key key;
    if (shape.points.size() > std::size(key.points) || !shape.part_starts.empty()) return std::nullopt;
    key.like = like;
    key.mapping = m;
    key.type = shape.type;
    key.count = shape.points.size();
    for (size_t i = 0; i < key.count; ++i) key.points[i] = shape.points[i];
    return key;
}

size_t BoundaryMemo::Hash::operator()(const Key& k) const noexcept {
    // Equal keys hash alike (the doubles of equal keys are equal, or both zeros of either sign,
    // which hash alike below); unequal keys may collide, which only costs a comparison.
    size_t h = std::hash<int>()(k.like.kind);
    const auto mix = [&h](double v) { h = h * 1000003u ^ std::hash<double>()(v == 0 ? 0.0 : v); };
    for (double v : k.like.settings) mix(v);
    mix(k.mapping.to_device({0, 0}).x);
    mix(k.mapping.to_device({0, 0}).y);
    mix(k.mapping.dpi());
    h = h * 1000003u ^ std::hash<int>()(int(k.type));
    for (size_t i = 0; i < k.count; ++i) {
        mix(k.points[i].x);
        mix(k.points[i].y);
    }
    return h;
}

std::optional<PixelBox> BoundaryMemo::find(const Likeness& like, const Mapping& m, const Shape& shape) {
    const std::optional<Key> key = key_of(like, m, shape);
    if (!key) return std::nullopt;
    std::lock_guard<std::mutex> held(lock_);
    auto it = boxes_.find(*key);
    if (it == boxes_.end()) return std::nullopt;
    return it->second;
}

void BoundaryMemo::keep(const Likeness& like, const Mapping& m, const Shape& shape, const PixelBox& box) {
    const std::optional<Key> key = key_of(like, m, shape);
    if (!key) return;
    std::lock_guard<std::mutex> held(lock_);
    if (boxes_.size() >= capacity) boxes_.clear();
    boxes_.insert_or_assign(*key, box);
}

}  // namespace mapmodel
