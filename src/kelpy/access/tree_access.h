// TreeAccess: the control's tree as screen readers see it. The tree window answers WM_GETOBJECT
// for its client area with an accessible object (AccessibleTree, one per tree window, made on
// the first request and handed to every client through LresultFromObject), whose children are
// the tree's items in the order shown (ItemOrder). The tree's changes are announced as WinEvents
// of the tree window's client area, with the item's child id: the selection (and, while the tree
// has the keyboard focus, the focus) when it moves and when the tree gets the focus, an item's
// state when its check box changes or the user expands or collapses it, the reordering of all
// children once a rebuild is over. Nothing of this changes what the tree shows or does.
//
// Default actions run as the click they stand for does, but not inside the client's call: the
// request is posted to the tree window and done when its messages run (a symbol choice opens a
// modal dialog, which must not hold a screen reader's call until it closes). The request holds
// the item's record, which no other item ever carries (a rebuild makes new records, and may give
// a new item the old one's handle); the item is found again by that record, and one that a
// rebuild removed meanwhile does nothing.
//
// The object lives in the tree's apartment: a client on another thread or in another process
// reaches it through COM's proxy, and its calls run on the tree's thread while that thread runs
// its messages. When the control goes, the object is disconnected: its clients' calls then fail.
#pragma once
#include <windows.h>
#include <unordered_map>
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/access/item_order.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::interact {
class Interaction;
}
namespace kelpy::tree {
class TreeBuilder;
}

namespace kelpy::access {

class AccessibleTree;

class TreeAccess final : public platform::TreeViewWatcher {
public:
    TreeAccess(platform::TreeView& tree, const tree::TreeBuilder& builder, interact::Interaction& interaction) noexcept;
    ~TreeAccess();
    TreeAccess(const TreeAccess&) = delete;
    TreeAccess& operator=(const TreeAccess&) = delete;

    // Whether TreeWndProc hands messages of this kind here: WM_GETOBJECT, WM_SETFOCUS and the
    // work this object posts to the tree window.
    static bool Wants(LONG msg) noexcept;
    // A message of the tree window that a host offers (_TOC.TreeWndProc): WM_GETOBJECT for the
    // client area is answered with the accessible object; the posted work is done.
    void TreeWndProc(LONG msg, LONG_PTR wp, LONG_PTR lp, LONG_PTR& result, VARIANT_BOOL& handled);

    // ---- for the accessible object
    platform::TreeView& tree() noexcept { return tree_; }
    ItemOrder& order() noexcept { return order_; }
    // The item with this child id; E_INVALIDARG when there is none.
    NodePtr Item(long id);
    // The child id of the selected item, or 0 when none is.
    long SelectedId();
    // Posts the item's default action to the tree window; false when the item has none.
    bool RequestDefaultAction(const NodePtr& node);

    // ---- the tree's changes (platform::TreeViewWatcher)
    void SelectionChanged(HTREEITEM item) noexcept override;
    void ItemChanged(const platform::Node& node) noexcept override;
    void ItemsCleared() noexcept override;
    // ---- what the tree window receives for it (platform::TreeViewWatcher)
    void ObjectRequested(WPARAM flags, LPARAM id, LRESULT& result, bool& handled) override;
    void FocusGained() override;
    void WorkPosted(WPARAM kind, LPARAM request) override;

private:
    // The accessible object of the tree window as it is now (a new window gets a new object).
    com::ComPtr<AccessibleTree> Object();
    void Disconnect() noexcept;
    // Raises a WinEvent for the item (its child id) or, with no item, for the client area.
    void Announce(DWORD event, HTREEITEM item) noexcept;
    void AnnounceSelection(HTREEITEM item) noexcept;
    // The item whose default action was requested, as its record, until the request is done.
    void DoDefaultAction(LPARAM request);

    platform::TreeView& tree_;
    const tree::TreeBuilder& builder_;
    interact::Interaction& interaction_;
    ItemOrder order_;
    com::ComPtr<AccessibleTree> object_;
    std::unordered_map<LPARAM, com::ComPtr<TocNode>> requested_;
    LPARAM last_request_ = 0;
};

}  // namespace kelpy::access
