// The tree as tools report it: a walk over the native tree in display order.
#include "kelpy/control/toc.h"
#include "kelpy/platform/tree_walk.h"
#include "kelpy/tree/items.h"

namespace kelpy {

std::vector<Toc::ItemDescription> Toc::DescribeTree() const {
    std::vector<ItemDescription> items;
    HWND tree = tvwTOC.hWnd();
    if (!tree) return items;
    const platform::NodeCollection& nodes = tvwTOC.Nodes();
    platform::walk_items(tree, [&](HTREEITEM item, int depth) {
        ItemDescription d;
        d.handle = item;
        d.depth = depth;
        if (NodePtr node = nodes.FromHandle(item)) {
            d.text = node->Text();
            d.key = node->Key();
            d.image = node->Image();
            d.expanded = node->Expanded();
            if (auto record = tree::TagOf(node)) {
                d.hasRecord = true;
                d.type = record->TOCNodeType;
            }
        }
        items.push_back(std::move(d));
    });
    return items;
}

}  // namespace kelpy
