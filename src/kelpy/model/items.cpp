#include "kelpy/model/items.h"
#include "com/error.h"

namespace kelpy {

com::ComPtr<TocNode> TagOf(const platform::NodePtr& node) { return TocNode::own(node->Tag().get()); }

com::ComPtr<TocNode> RecordOf(const platform::NodePtr& node) {
    com::ComPtr<TocNode> record = TagOf(node);
    if (!record) com::raise(com::CTL_E_TYPEMISMATCH, L"The tree item carries no record");
    return record;
}

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
    return FindRecordedNode(tvwTOC, handle).node;
}

RecordedNode FindRecordedNode(const platform::TreeView& tvwTOC, LONG_PTR handle) {
    platform::NodePtr node = tvwTOC.Nodes().FromHandle(reinterpret_cast<HTREEITEM>(handle));
    if (!node) return {};
    com::ComPtr<TocNode> record = TagOf(node);
    if (!record || record->Handle != handle) return {};
    return {std::move(node), std::move(record)};
}

}  // namespace kelpy
