#include "kelpy/platform/node_collection.h"
#include <algorithm>
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::platform {

NodePtr NodeCollection::Add(const NewNode& item) {
    HWND window = tree_.window();
    Node* parent = nullptr;
    if (!item.relative.empty()) {
        if (item.relationship && *item.relationship != Relationship::Child)
            com::raise(CTL_E_ILLEGALFUNCTIONCALL, L"Items can only be added as children of their relative");
        auto it = by_key_.find(item.relative);
        if (it == by_key_.end())
            com::raise(com::CTL_E_ELEMENTNOTFOUND, L"The tree has no item with the key \"" + std::wstring(item.relative) + L"\"");
        parent = it->second;
    }
    if (!item.key.empty() && Contains(item.key)) com::raise(com::CTL_E_KEYNOTUNIQUE);
    const int image = tree_.image_index(item.image);
    const int selected_image = tree_.image_index(item.selected_image);

    NodePtr node = Node::create();
    node->key_.assign(item.key);
    node->text_.assign(item.text);
    node->image_ = image;
    node->selected_image_ = selected_image;
    node->bold_ = item.look.bold;
    node->expanded_ = item.look.expanded;

    // Room for the new item before the native insert, so that recording it cannot fail; the
    // room grows geometrically (growing by one would copy the whole list for every item).
    if (items_.size() == items_.capacity()) items_.reserve(std::max<size_t>(64, 2 * items_.capacity()));
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent->item_ : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.itemex.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    insert.itemex.pszText = node->text_.data();
    insert.itemex.iImage = image;
    insert.itemex.iSelectedImage = selected_image;
    insert.itemex.state = (item.look.bold ? TVIS_BOLD : 0) | (item.look.expanded ? TVIS_EXPANDED : 0);
    insert.itemex.stateMask = TVIS_BOLD | TVIS_EXPANDED;
    if (item.look.rows != 1) {
        insert.itemex.mask |= TVIF_INTEGRAL;
        insert.itemex.iIntegral = item.look.rows;
    }
    auto handle = reinterpret_cast<HTREEITEM>(SendMessageW(window, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!handle) com::raise(E_FAIL, L"The tree view did not add the item \"" + node->text_ + L"\"");

    node->owner_ = this;
    node->item_ = handle;
    node->parent_ = parent;
    node->index_ = long(items_.size()) + 1;
    items_.push_back(node);
    by_handle_.emplace(handle, node.get());
    if (!node->key_.empty()) by_key_.emplace(std::wstring_view(node->key_), node.get());
    if (parent) {
        if (parent->children_++ == 0) parent->first_child_ = node.get();
    }
    return node;
}

void NodeCollection::Clear() {
    HWND window = tree_.window();
    // The Nodes leave first, so that the notifications the native tree sends while it deletes
    // (and any code they reach) find no item that is about to go.
    detach_all();
    ++clears_;
    SendMessageW(window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    tree_.selected_ = nullptr;
    if (TreeViewWatcher* watcher = tree_.watcher()) watcher->ItemsCleared();
}

void NodeCollection::detach_all() noexcept {
    std::vector<NodePtr> removed;
    removed.swap(items_);
    by_key_.clear();
    by_handle_.clear();
    for (const NodePtr& node : removed) node->detach();
}

int16_t NodeCollection::Count() const { return com::to_int16(static_cast<long long>(items_.size())); }

NodePtr NodeCollection::Item(long position) const {
    if (position < 1 || static_cast<size_t>(position) > items_.size())
        com::raise(com::CTL_E_SUBSCRIPTOUTOFRANGE, L"The tree has no item at position " + std::to_wstring(position));
    return items_[size_t(position) - 1];
}

NodePtr NodeCollection::Item(std::wstring_view key) const {
    auto it = by_key_.find(key);
    if (it == by_key_.end())
        com::raise(com::CTL_E_ELEMENTNOTFOUND, L"The tree has no item with the key \"" + std::wstring(key) + L"\"");
    return it->second;
}

bool NodeCollection::Contains(std::wstring_view key) const noexcept { return by_key_.find(key) != by_key_.end(); }

NodePtr NodeCollection::FromHandle(HTREEITEM item) const noexcept {
    if (!item) return {};
    auto it = by_handle_.find(item);
    return it == by_handle_.end() ? NodePtr() : NodePtr(it->second);
}

}  // namespace kelpy::platform
