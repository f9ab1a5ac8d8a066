#include "kelpy/access/item_order.h"

namespace kelpy::access {

long ItemOrder::Count() {
    Refresh();
    return long(order_.size());
}

NodePtr ItemOrder::At(long id) {
    Refresh();
    if (id < 1 || size_t(id) > order_.size()) return nullptr;
    return order_[size_t(id) - 1].node;
}

long ItemOrder::IdOf(HTREEITEM item) {
    Refresh();
    auto it = ids_.find(item);
    return it == ids_.end() ? 0 : it->second;
}

int ItemOrder::DepthOf(long id) {
    Refresh();
    return order_.at(size_t(id) - 1).depth;
}

// One pass over the items in the order of adding gives each parent its children in their
// order (an item is always added as its parent's last child); a walk from the top-level items
// then puts every item before its children. Iterative, so a deep tree needs no deep stack.
void ItemOrder::Refresh() {
    if (clears_ == nodes_.clears() && size_ == nodes_.size()) return;
    const long count = long(nodes_.size());
    std::vector<NodePtr> top;
    std::unordered_map<platform::Node*, std::vector<NodePtr>> children;
    for (long k = 1; k <= count; ++k) {
        NodePtr node = nodes_.Item(k);
        NodePtr parent = node->Parent();
        (parent ? children[parent.get()] : top).push_back(std::move(node));
    }
    order_.clear();
    ids_.clear();
    order_.reserve(size_t(count));
    // The items still to visit, the next one last.
    std::vector<Entry> pending;
    for (auto it = top.rbegin(); it != top.rend(); ++it) pending.push_back({*it, 0});
    while (!pending.empty()) {
        Entry entry = std::move(pending.back());
        pending.pop_back();
        ids_.emplace(entry.node->handle(), long(order_.size()) + 1);
        if (auto found = children.find(entry.node.get()); found != children.end())
            for (auto it = found->second.rbegin(); it != found->second.rend(); ++it)
                pending.push_back({*it, entry.depth + 1});
        order_.push_back(std::move(entry));
    }
    clears_ = nodes_.clears();
    size_ = nodes_.size();
}

}  // namespace kelpy::access
