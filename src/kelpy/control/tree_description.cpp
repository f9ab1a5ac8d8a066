// The tree as tools report it: a walk over the native tree in display order.
#include "kelpy/control/toc.h"

namespace kelpy {

std::vector<Toc::ItemDescription> Toc::DescribeTree() const {
    std::vector<ItemDescription> items;
    HWND tree = tvwTOC.hWnd();
    if (!tree) return items;
    const platform::NodeCollection& nodes = tvwTOC.Nodes();
    auto walk = [&](auto&& self, HTREEITEM item, int depth) -> void {
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            ItemDescription d;
            d.handle = item;
            d.depth = depth;
            if (NodePtr node = nodes.FromHandle(item)) {
                d.text = node->Text();
                d.key = node->Key();
                d.image = node->Image();
                d.expanded = node->Expanded();
                if (auto record = node->Tag()) {
                    d.hasRecord = true;
                    d.type = record->TOCNodeType;
                }
            }
            items.push_back(std::move(d));
            self(self, TreeView_GetChild(tree, item), depth + 1);
        }
    };
    walk(walk, TreeView_GetRoot(tree), 0);
    return items;
}

}  // namespace kelpy
