#include "kelpy/toc/toc.h"
#include <bit>
#include <functional>

namespace kelpy::toc {

bool SameKey(const ClassKey& a, const ClassKey& b) noexcept {
    if (a.index() != b.index()) return false;
    if (const double* x = std::get_if<double>(&a)) return std::bit_cast<uint64_t>(*x) == std::bit_cast<uint64_t>(std::get<double>(b));
    return a == b;
}

size_t HashOf(const ClassKey& key) noexcept {
    if (const double* x = std::get_if<double>(&key)) return std::hash<uint64_t>{}(std::bit_cast<uint64_t>(*x));
    if (const std::wstring* s = std::get_if<std::wstring>(&key)) return std::hash<std::wstring>{}(*s);
    return 0;
}

size_t RowIdHash::operator()(const RowId& id) const noexcept {
    size_t h = std::hash<const void*>{}(id.layer.get());
    auto mix = [&h](size_t v) { h ^= v + size_t(0x9e3779b9u) + (h << 6) + (h >> 2); };
    mix(size_t(id.type));
    mix(id.place);
    mix(HashOf(id.key));
    mix(id.key_place);
    return h;
}

size_t Toc::Add(Row row) {
    if (row.parent >= 0) ++rows_[size_t(row.parent)].children;
    rows_.push_back(std::move(row));
    return rows_.size() - 1;
}

std::vector<NodeState> Toc::Snapshot() const {
    std::vector<NodeState> snapshot;
    for (const Row& row : rows_)
        if (row.children > 0) snapshot.push_back({row.text, row.expanded});
    return snapshot;
}

}  // namespace kelpy::toc
