// The two ways between items and their native handles.
#include "kelpy/control/toc.h"

namespace kelpy {

// The item's native handle. Afterwards no item is selected (the rebuild selects the item it
// wants at its end).
LONG_PTR Toc::GetNodeHandle(const NodePtr& node) {
    const HTREEITEM handle = node->handle();
    tvwTOC.select_none();
    return reinterpret_cast<LONG_PTR>(handle);
}

// The item whose record carries this handle, or Nothing. Every record carries the handle of its
// own item (set once, right after the item was added), so the item with that native handle is
// the first item in the tree's order whose record carries it: the same answer as a walk over
// all items, found in constant time. Painting and hit testing call this once per item.
NodePtr Toc::FindNodeByHandle(LONG_PTR handle) {
    NodePtr node = tvwTOC.Nodes().FromHandle(reinterpret_cast<HTREEITEM>(handle));
    if (!node) return {};
    com::ComPtr<TocNode> record = node->Tag();
    if (!record || record->Handle != handle) return {};
    return node;
}

}  // namespace kelpy
