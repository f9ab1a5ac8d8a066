// RelayoutTree lays the tree out again without losing the user's view.
#include <windows.h>
#include <commctrl.h>
#include "kelpy/interact/tree_layout.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy::interact {

// Makes the tree compute the positions and heights of all its items again (after a row's
// height changed): the root is collapsed and expanded again, hidden, through the items' own
// Expanded so that what the items know of their states stays true. The user keeps the view:
// the selected item (collapsing an item selects it when the selection was inside), the first
// visible row and the scroll position are what they were.
void RelayoutTree(platform::TreeView& tree_view, tree::TreeBuilder& builder) {
    builder.HideTree(true);
    HWND tree = tree_view.window();
    const int position = GetScrollPos(tree, SB_VERT);
    const auto first = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    const HTREEITEM selected = tree_view.caret();

    platform::NodePtr root = tree_view.Nodes().Item(L"root");
    root->Expanded(false);
    root->Expanded(true);

    if (selected) tree_view.select(selected);
    if (first) SendMessageW(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(first));
    SetScrollPos(tree, SB_VERT, position, TRUE);
    builder.HideTree(false);
}

}  // namespace kelpy::interact
