// The two ways between items and their native handles.
#include "kelpy/tree/node_handles.h"

namespace kelpy::tree {

LONG_PTR GetNodeHandle(platform::TreeView& tvwTOC, const platform::NodePtr& node) {
    const HTREEITEM handle = node->handle();
    tvwTOC.select_none();
    return reinterpret_cast<LONG_PTR>(handle);
}

// The item whose record carries this handle, or Nothing. Every record carries the handle of its
// own item (set once, right after the item was added), so the item with that native handle is
// the first item in the tree's order whose record carries it: the same answer as a walk over
// all items, found in constant time. Painting and hit testing call this once per item.
platform::NodePtr FindNodeByHandle(const platform::TreeView& tvwTOC, LONG_PTR handle) {
    platform::NodePtr node = tvwTOC.Nodes().FromHandle(reinterpret_cast<HTREEITEM>(handle));
    if (!node) return {};
    com::ComPtr<TocNode> record = node->Tag();
    if (!record || record->Handle != handle) return {};
    return node;
}

}  // namespace kelpy::tree
