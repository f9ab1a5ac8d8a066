// ItemOrder: the tree's items as a screen reader addresses them, by child ids 1, 2, ... in the
// order in which the tree shows them (depth first: each item, then its children, siblings in
// their order), with the depth of each (0 for the items at the top). The order is worked out
// once for a set of items, in one pass over them, and then answered in constant time: the
// control's items are only ever added as the last child of their parent, and only all removed
// together (a rebuild), so the count of clears and the count of items tell whether the set is
// still the same.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "kelpy/platform/node_collection.h"

namespace kelpy::access {

using platform::NodePtr;

class ItemOrder {
public:
    explicit ItemOrder(const platform::NodeCollection& nodes) noexcept : nodes_(nodes) {}
    ItemOrder(const ItemOrder&) = delete;
    ItemOrder& operator=(const ItemOrder&) = delete;

    long Count();
    // The item with this child id, or null outside 1 to Count.
    NodePtr At(long id);
    // The child id of an item, or 0 for none (null, or no item of the tree).
    long IdOf(HTREEITEM item);
    // The depth of the item with this child id (which must name one).
    int DepthOf(long id);

private:
    void Refresh();

    const platform::NodeCollection& nodes_;
    unsigned long clears_ = ~0ul;  // NodeCollection::clears() when the order was worked out
    size_t size_ = 0;
    std::vector<long> positions_;  // by child id - 1: the item's position in the order of adding
    std::vector<int> depths_;      // by child id - 1
    std::vector<long> ids_;        // by position: the child id
};

}  // namespace kelpy::access
