// The expanded-state memory follows the user's expanding and collapsing between rebuilds, and
// RefreshTree lays the tree out again without losing the user's view.
#include <windows.h>
#include <commctrl.h>
#include "kelpy/interact/interaction.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy::interact {

void Interaction::Expand(const NodePtr& Node) { c_.builder.RememberExpanded(Node); }

void Interaction::Collapse(const NodePtr& Node) { c_.builder.RememberExpanded(Node); }

// Makes the tree compute the positions and heights of all its items again (after a row's
// height changed): the root is collapsed and expanded again, hidden, through the items' own
// Expanded so that what the items know of their states stays true. The user keeps the view:
// the selected item (collapsing an item selects it when the selection was inside), the first
// visible row and the scroll position are what they were.
void Interaction::RefreshTree() {
    c_.builder.HideTree(true);
    HWND tree = c_.tree.window();
    const int position = GetScrollPos(tree, SB_VERT);
    const auto first = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    const HTREEITEM selected = c_.tree.caret();

    NodePtr root = c_.tree.Nodes().Item(L"root");
    root->Expanded(false);
    root->Expanded(true);

    if (selected) c_.tree.select(selected);
    if (first) SendMessageW(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(first));
    SetScrollPos(tree, SB_VERT, position, TRUE);
    c_.builder.HideTree(false);
}

}  // namespace kelpy::interact
