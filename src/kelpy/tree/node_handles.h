// The two ways between the tree's items and their native handles, as the records carry them.
#pragma once
#include <windows.h>
#include "kelpy/platform/tree_view.h"

namespace kelpy::tree {

// The item's native handle. Afterwards no item is selected (the rebuild selects the item it
// wants at its end).
LONG_PTR GetNodeHandle(platform::TreeView& tree, const platform::NodePtr& node);
// The item whose record carries this handle, or Nothing.
platform::NodePtr FindNodeByHandle(const platform::TreeView& tree, LONG_PTR handle);

}  // namespace kelpy::tree
