// The tree's items as the control reads them: the record each carries in its Tag, and the two
// ways between items and their native handles (as the records carry them).
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy {

using platform::NodePtr;

// The item's record, or Nothing when it carries none.
com::ComPtr<TocNode> TagOf(const platform::NodePtr& node);
// The item's record; an item without one is a type mismatch.
com::ComPtr<TocNode> RecordOf(const platform::NodePtr& node);

// The item's native handle. Afterwards no item is selected (the rebuild selects the item it
// wants at its end).
LONG_PTR GetNodeHandle(platform::TreeView& tree, const platform::NodePtr& node);
// The item whose record carries this handle, or Nothing.
platform::NodePtr FindNodeByHandle(const platform::TreeView& tree, LONG_PTR handle);

// An item and the record it carries, read once for whoever needs both.
struct RecordedNode {
    platform::NodePtr node;
    com::ComPtr<TocNode> record;
};
// The item whose record carries this handle, with that record; both empty when there is none.
RecordedNode FindRecordedNode(const platform::TreeView& tree, LONG_PTR handle);

}  // namespace kelpy
