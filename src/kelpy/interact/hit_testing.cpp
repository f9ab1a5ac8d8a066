// HitTest: which item lies under a point of the tree, and on which part of it.
#include <windows.h>
#include <commctrl.h>
#include <cmath>
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/interact/positions.h"
#include "kelpy/platform/screen.h"
#include "kelpy/model/items.h"

namespace kelpy::interact {

LONG PixelsFromTwips(float twips, float twipsPerPixel) {
    if (twipsPerPixel == 0.0f) com::raise(twips == 0.0f ? CTL_E_OVERFLOW : CTL_E_DIVISIONBYZERO);
    const float pixels = twips / twipsPerPixel;
    if (!std::isfinite(pixels)) com::raise(CTL_E_OVERFLOW);
    return com::round_half_even(double(pixels));
}

POINT PixelsOf(float x, float y) {
    const LONG py = PixelsFromTwips(y, platform::TwipsPerPixelY());
    const LONG px = PixelsFromTwips(x, platform::TwipsPerPixelX());
    return {px, py};
}

// One native hit test and one handle lookup (constant time), whatever the tree's size: this
// runs on every mouse move. A point on no item (below the last one, or outside the client area
// while the mouse is captured) gives Nothing and -1, whatever flags the tree reported.
com::ComPtr<TreeViewHitTestInfo> Interaction::HitTest(LONG x, LONG y) {
    com::ComPtr<TreeViewHitTestInfo> info = TreeViewHitTestInfo::create();
    TVHITTESTINFO test{};
    test.pt = POINT{x, y};
    SendMessageW(c_.tree.window(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
    if (test.hItem) {
        NodePtr node = FindNodeByHandle(c_.tree, reinterpret_cast<LONG_PTR>(test.hItem));
        info->Node = node.get();
        info->TreeviewHitTest = static_cast<::TreeviewHitTestCode>(test.flags);
    }
    return info;
}

NodePtr Interaction::HitNode(const com::ComPtr<TreeViewHitTestInfo>& hit) { return platform::Node::From(hit->Node.get()); }

}  // namespace kelpy::interact
