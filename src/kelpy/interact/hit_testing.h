// What lies under a point of the tree (hit_testing.cpp).
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::interact {

// Which item lies under a point of the tree's client area, and on which part of it.
com::ComPtr<TreeViewHitTestInfo> HitTestTree(const platform::TreeView& tree, LONG x, LONG y);
// What lies at a point of the client area of `window` (the control's; null: the tree's own), as
// a host sees it.
com::ComPtr<TocItemInfo> ItemAtPoint(const platform::TreeView& tree, HWND window, LONG x, LONG y);

}  // namespace kelpy::interact
