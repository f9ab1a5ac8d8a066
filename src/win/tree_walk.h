// Every item of a native tree view, depth first in the tree's order (the order in which the
// items show when every one is expanded, and in which the control adds them): visit(item,
// depth), the root items at depth 0. Iterative, so a deep tree needs no deep stack.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace win {

template <class Visit>
void walk_items(HWND tree, Visit&& visit) {
    int depth = 0;
    HTREEITEM item = TreeView_GetRoot(tree);
    while (item) {
        visit(item, depth);
        if (HTREEITEM child = TreeView_GetChild(tree, item)) {
            item = child;
            ++depth;
            continue;
        }
        // Up to the nearest item that has a next sibling.
        HTREEITEM next = TreeView_GetNextSibling(tree, item);
        while (!next && (item = TreeView_GetParent(tree, item)) != nullptr) {
            --depth;
            next = TreeView_GetNextSibling(tree, item);
        }
        item = next;
    }
}

}  // namespace win
