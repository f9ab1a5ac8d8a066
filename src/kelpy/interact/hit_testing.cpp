// HitTest: which item lies under a point of the tree, and on which part of it.
#include <windows.h>
#include <commctrl.h>
#include "kelpy/interact/hit_testing.h"
#include "kelpy/model/items.h"

namespace kelpy::interact {

// One native hit test and one handle lookup (constant time), whatever the tree's size: this
// runs on every mouse move. A point on no item (below the last one, or outside the client area
// while the mouse is captured) gives Nothing and -1, whatever flags the tree reported.
com::ComPtr<TreeViewHitTestInfo> HitTestTree(const platform::TreeView& tree, LONG x, LONG y) {
    com::ComPtr<TreeViewHitTestInfo> info = TreeViewHitTestInfo::create();
    TVHITTESTINFO test{};
    test.pt = POINT{x, y};
    SendMessageW(tree.window(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
    if (test.hItem) {
        platform::NodePtr node = FindNodeByHandle(tree, reinterpret_cast<LONG_PTR>(test.hItem));
        info->Node = node.get();
        info->TreeviewHitTest = static_cast<::TreeviewHitTestCode>(test.flags);
    }
    return info;
}

namespace {
::TOCItemKind kind_of(::TOCNodeType type) noexcept {
    switch (type) {
    case ::TOCNodeType::Root: return ::TOCItemKind::ItemRoot;
    case ::TOCNodeType::Layer: return ::TOCItemKind::ItemLayer;
    case ::TOCNodeType::GroupLayer: return ::TOCItemKind::ItemGroupLayer;
    case ::TOCNodeType::RendererName: return ::TOCItemKind::ItemLegendHeading;
    case ::TOCNodeType::RendererItem: return ::TOCItemKind::ItemLegendClass;
    case ::TOCNodeType::LayerSymbol: return ::TOCItemKind::ItemLayerSymbol;
    case ::TOCNodeType::Holder: return ::TOCItemKind::ItemHolder;
    }
    return ::TOCItemKind::ItemNone;
}

// The part of a row that the tree's hit-test flags name, for an item of this kind: the image of
// a layer or group item is its check box, that of a legend row its swatch; the map's picture
// belongs to its label.
::TOCItemPart part_of(UINT flags, ::TOCItemKind kind) noexcept {
    if (flags & TVHT_ONITEMSTATEICON) return ::TOCItemPart::PartCheck;
    if (flags & TVHT_ONITEMICON) {
        switch (kind) {
        case ::TOCItemKind::ItemLayer:
        case ::TOCItemKind::ItemGroupLayer: return ::TOCItemPart::PartCheck;
        case ::TOCItemKind::ItemLegendClass:
        case ::TOCItemKind::ItemLayerSymbol: return ::TOCItemPart::PartSwatch;
        default: return ::TOCItemPart::PartLabel;
        }
    }
    if (flags & TVHT_ONITEMLABEL) return ::TOCItemPart::PartLabel;
    if (flags & (TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON)) return ::TOCItemPart::PartIndent;
    if (flags & TVHT_ONITEMRIGHT) return ::TOCItemPart::PartRight;
    return ::TOCItemPart::PartNone;
}
}  // namespace

// The tree fills the control, but the point is the control's: it is carried into the tree's
// client area first.
com::ComPtr<TocItemInfo> ItemAtPoint(const platform::TreeView& tree, HWND window, LONG x, LONG y) {
    com::ComPtr<TocItemInfo> info = TocItemInfo::create();
    POINT p{x, y};
    if (window) MapWindowPoints(window, tree.window(), &p, 1);
    TVHITTESTINFO test{};
    test.pt = p;
    SendMessageW(tree.window(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
    auto [node, record] = FindRecordedNode(tree, reinterpret_cast<LONG_PTR>(test.hItem));
    if (!node) return info;
    info->Kind = kind_of(record->TOCNodeType);
    info->Part = part_of(test.flags, info->Kind);
    info->Layer = record->Layer;
    if (info->Kind == ::TOCItemKind::ItemLegendClass) info->ClassIndex = record->Index;
    info->Text = node->Text();
    return info;
}



}  // namespace kelpy::interact
