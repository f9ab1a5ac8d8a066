#include "kelpy/access/item_order.h"

namespace kelpy::access {

long ItemOrder::Count() {
    Refresh();
    return long(positions_.size());
}

NodePtr ItemOrder::At(long id) {
    Refresh();
    if (id < 1 || size_t(id) > positions_.size()) return nullptr;
    return nodes_.Item(positions_[size_t(id) - 1]);
}

long ItemOrder::IdOf(HTREEITEM item) {
    Refresh();
    NodePtr node = nodes_.FromHandle(item);
    return node ? ids_[size_t(nodes_.PositionOf(*node.get()))] : 0;
}

int ItemOrder::DepthOf(long id) {
    Refresh();
    return depths_.at(size_t(id) - 1);
}

// The items in the order of adding give each parent its children in their order (an item is
// always added as its parent's last child), linked by position (0 stands for the top); a walk
// from the first top-level item then puts every item before its children. Iterative, so a deep
// tree needs no deep stack.
void ItemOrder::Refresh() {
    if (clears_ == nodes_.clears() && size_ == nodes_.size()) return;
    const size_t count = nodes_.size();
    std::vector<long> first(count + 1, 0), next(count + 1, 0), last(count + 1, 0);
    for (size_t p = 1; p <= count; ++p) {
        const NodePtr parent = nodes_.Item(long(p))->Parent();
        const size_t up = parent ? size_t(nodes_.PositionOf(*parent.get())) : 0;
        (last[up] ? next[size_t(last[up])] : first[up]) = long(p);
        last[up] = long(p);
    }
    positions_.clear();
    depths_.clear();
    positions_.reserve(count);
    depths_.reserve(count);
    ids_.assign(count + 1, 0);
    // The way back up: the items whose next siblings are still to come.
    std::vector<long> above;
    long p = first[0];
    while (p) {
        positions_.push_back(p);
        depths_.push_back(int(above.size()));
        ids_[size_t(p)] = long(positions_.size());
        if (first[size_t(p)]) {
            above.push_back(p);
            p = first[size_t(p)];
            continue;
        }
        while (!next[size_t(p)] && !above.empty()) {
            p = above.back();
            above.pop_back();
        }
        p = next[size_t(p)];
    }
    clears_ = nodes_.clears();
    size_ = count;
}

}  // namespace kelpy::access
