// Comparing two models in time that grows with their rows: rows are matched by identity through
// a hash table, and under each parent the rows that keep their order are the longest run of
// them in increasing old order (found in n log n), so only the others count as moved.
#include "kelpy/toc/toc_changes.h"
#include <algorithm>
#include <optional>
#include <unordered_map>

namespace kelpy::toc {

namespace {

constexpr size_t none = size_t(-1);

// The positions in `order` of a longest increasing run of its values.
std::vector<bool> LongestIncreasing(const std::vector<size_t>& order) {
    std::vector<size_t> tails;              // tails[k]: the position ending the best run of k + 1
    std::vector<size_t> previous(order.size(), none);
    for (size_t p = 0; p < order.size(); ++p) {
        auto at = std::lower_bound(tails.begin(), tails.end(), order[p],
                                   [&](size_t q, size_t value) { return order[q] < value; });
        if (at != tails.begin()) previous[p] = *(at - 1);
        if (at == tails.end()) tails.push_back(p);
        else *at = p;
    }
    std::vector<bool> kept(order.size(), false);
    for (size_t p = tails.empty() ? none : tails.back(); p != none; p = previous[p]) kept[p] = true;
    return kept;
}

unsigned DifferenceOf(const Row& a, const Row& b) {
    unsigned what = 0;
    if (a.text != b.text) what |= TextChanged;
    if (a.check != b.check) what |= ImageChanged;
    if (a.bold != b.bold) what |= BoldChanged;
    if (a.expanded != b.expanded) what |= ExpandedChanged;
    if (a.rows != b.rows) what |= HeightChanged;
    ISymbol* symbolA = a.record ? a.record->Symbol.get() : nullptr;
    ISymbol* symbolB = b.record ? b.record->Symbol.get() : nullptr;
    if (symbolA != symbolB) what |= SymbolChanged;
    return what;
}

}  // namespace

Changes Compare(const Toc& before, const Toc& after) {
    Changes changes;
    // The old row of each new row's identity, and the new row of each old one.
    std::unordered_map<RowId, size_t, RowIdHash> old_rows;
    old_rows.reserve(before.size());
    for (size_t i = 0; i < before.size(); ++i) old_rows.emplace(before[i].id, i);
    std::vector<size_t> old_of(after.size(), none), new_of(before.size(), none);
    for (size_t j = 0; j < after.size(); ++j) {
        auto it = old_rows.find(after[j].id);
        if (it == old_rows.end() || new_of[it->second] != none) continue;
        old_of[j] = it->second;
        new_of[it->second] = j;
    }

    for (size_t i = 0; i < before.size(); ++i)
        if (new_of[i] == none) changes.removed.push_back(i);

    // The children of each new parent (the last list: the top level), and each row's place.
    std::vector<std::vector<size_t>> children(after.size() + 1);
    std::vector<size_t> place(after.size());
    for (size_t j = 0; j < after.size(); ++j) {
        auto& siblings = children[after[j].parent < 0 ? after.size() : size_t(after[j].parent)];
        place[j] = siblings.size();
        siblings.push_back(j);
    }
    const auto placed = [&](size_t j) { return Placed{j, after[j].parent, place[j]}; };

    for (const std::vector<size_t>& siblings : children) {
        // The rows that stay under the same parent, in their new order, with their old rows.
        std::vector<size_t> staying, order;
        for (size_t j : siblings) {
            const size_t i = old_of[j];
            if (i == none) continue;
            const int32_t parent = after[j].parent;
            const size_t old_parent = before[i].parent < 0 ? none : size_t(before[i].parent);
            const size_t parent_before = parent < 0 ? none : old_of[size_t(parent)];
            const bool same_parent = parent < 0 ? old_parent == none : (parent_before != none && parent_before == old_parent);
            if (!same_parent) {
                changes.moved.push_back({i, placed(j)});
                continue;
            }
            staying.push_back(j);
            order.push_back(i);
        }
        const std::vector<bool> kept = LongestIncreasing(order);
        for (size_t k = 0; k < staying.size(); ++k)
            if (!kept[k]) changes.moved.push_back({order[k], placed(staying[k])});
    }
    std::sort(changes.moved.begin(), changes.moved.end(),
              [](const Changes::Moved& a, const Changes::Moved& b) { return a.after.row < b.after.row; });

    for (size_t j = 0; j < after.size(); ++j) {
        if (old_of[j] == none) {
            changes.inserted.push_back(placed(j));
        } else if (const unsigned what = DifferenceOf(before[old_of[j]], after[j])) {
            changes.changed.push_back({old_of[j], j, what});
        }
    }
    return changes;
}

}  // namespace kelpy::toc
