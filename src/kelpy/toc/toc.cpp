#include "kelpy/toc/toc.h"
#include <bit>
#include <functional>
#include <string>

namespace kelpy::toc {

uint64_t DigestOf(const ClassKey& key) noexcept {
    if (const double* x = std::get_if<double>(&key)) return std::bit_cast<uint64_t>(*x);
    const std::wstring* text = std::get_if<std::wstring>(&key);
    if (!text) return 0;
    // FNV-1a over the characters' bytes: the same digest on every architecture.
    uint64_t digest = 0xcbf29ce484222325ull;
    for (wchar_t c : *text) {
        digest = (digest ^ uint64_t(c & 0xFF)) * 0x100000001b3ull;
        digest = (digest ^ uint64_t((c >> 8) & 0xFF)) * 0x100000001b3ull;
    }
    return digest;
}

size_t RowIdHash::operator()(const RowId& id) const noexcept {
    size_t h = std::hash<const void*>{}(id.layer.get());
    auto mix = [&h](size_t v) { h ^= v + size_t(0x9e3779b9u) + (h << 6) + (h >> 2); };
    mix(size_t(id.type));
    mix(id.place);
    mix(size_t(id.key ^ (id.key >> 32)));
    mix(id.key_place);
    return h;
}

const wchar_t* Row::image() const noexcept {
    switch (id.type) {
    case ::TOCNodeType::Root: return L"root";
    case ::TOCNodeType::GroupLayer:
    case ::TOCNodeType::Layer: return ImageOf(check);
    default: return L"";
    }
}

std::wstring Toc::KeyOf(size_t i) const {
    const Row& row = rows_[i];
    switch (row.id.type) {
    case ::TOCNodeType::Root: return L"root";
    case ::TOCNodeType::Holder: return L"holder";
    case ::TOCNodeType::Layer: return L"l" + std::to_wstring(row.number);
    case ::TOCNodeType::GroupLayer:
        if (row.parent >= 0 && rows_[size_t(row.parent)].id.type == ::TOCNodeType::GroupLayer)
            return KeyOf(size_t(row.parent)) + L"." + std::to_wstring(row.number);
        return L"gl" + std::to_wstring(row.number);
    default: return {};
    }
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
