// HitTest: which item lies under a point of the tree, and on which part of it.
#include <windows.h>
#include <commctrl.h>
#include <cmath>
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/control/toc.h"
#include "kelpy/interact/positions.h"

namespace kelpy {

namespace interact {

LONG PixelsFromTwips(float twips, float twipsPerPixel) {
    if (twipsPerPixel == 0.0f) com::raise(twips == 0.0f ? CTL_E_OVERFLOW : CTL_E_DIVISIONBYZERO);
    const float pixels = twips / twipsPerPixel;
    if (!std::isfinite(pixels)) com::raise(CTL_E_OVERFLOW);
    return com::round_half_even(double(pixels));
}

}  // namespace interact

// One native hit test and one handle lookup (constant time), whatever the tree's size: this
// runs on every mouse move. A point on no item (below the last one, or outside the client area
// while the mouse is captured) gives Nothing and -1, whatever flags the tree reported.
com::ComPtr<TreeViewHitTestInfo> Toc::HitTest(LONG x, LONG y) {
    com::ComPtr<TreeViewHitTestInfo> info = TreeViewHitTestInfo::create();
    TVHITTESTINFO test{};
    test.pt = POINT{x, y};
    SendMessageW(tvwTOC.window(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
    if (test.hItem) {
        NodePtr node = FindNodeByHandle(reinterpret_cast<LONG_PTR>(test.hItem));
        info->Node = node.get();
        info->TreeviewHitTest = static_cast<::TreeviewHitTestCode>(test.flags);
    }
    return info;
}

NodePtr Toc::HitNode(const com::ComPtr<TreeViewHitTestInfo>& hit) { return platform::Node::From(hit->Node.get()); }

}  // namespace kelpy
