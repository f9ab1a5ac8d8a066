// Lays the tree out again (after a row's height changed), keeping the user's view (tree_layout.cpp).
#pragma once
#include "kelpy/platform/tree_view.h"

namespace kelpy::tree {
class TreeBuilder;
}

namespace kelpy::interact {

void RelayoutTree(platform::TreeView& tree_view, tree::TreeBuilder& builder);

}  // namespace kelpy::interact
