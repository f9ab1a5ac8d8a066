// NodeCollection: the items of a tree view (the tree's Nodes), in the order in which they were
// added, by position from 1 and by key, and by native item handle.
//
// Adding an item is one message to the native tree (TVM_INSERTITEM), whatever the item carries:
// text, images and the initial bold and expanded states go with the insertion. Every other
// message about an item makes the native tree search its item list, so the count of messages
// per item is what a rebuild of a large tree costs.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include "kelpy/platform/node.h"

namespace kelpy::platform {

class TreeView;

// Where a new item goes relative to its relative item. The control adds every item as the last
// child of its relative, or as the last top-level item when it names no relative.
enum class Relationship : int { First = 0, Last = 1, Next = 2, Previous = 3, Child = 4 };

// The states an item has from its insertion (saves the messages that setting them would take).
struct InitialLook {
    bool bold = false;
    bool expanded = false;
    int rows = 1;  // the item's height in standard rows (its integral height)
};

// The arguments of NodeCollection::Add; every field may be left out.
struct NewNode {
    std::wstring_view relative = {};                // key of the relative item; "" for none
    std::optional<Relationship> relationship = {};  // Child is the one relationship supported
    std::wstring_view key = {};                     // "" for no key
    std::wstring_view text = {};
    std::wstring_view image = {};                   // keys of the tree's image list; "" for none
    std::wstring_view selected_image = {};
    InitialLook look = {};
};

class NodeCollection {
public:
    explicit NodeCollection(TreeView& tree) noexcept : tree_(tree) {}
    ~NodeCollection() { detach_all(); }
    NodeCollection(const NodeCollection&) = delete;
    NodeCollection& operator=(const NodeCollection&) = delete;

    // Adds an item. A key that is taken is the "key is not unique" error and a relative key or
    // image key that does not exist is "element not found"; either way nothing is added.
    NodePtr Add(const NewNode& item);
    // Removes every item; the Nodes that anyone still holds are detached.
    void Clear();
    // The number of items; more than 32767 is the overflow error.
    int16_t Count() const;
    // The item at a position from 1 (subscript out of range outside 1 to the count).
    NodePtr Item(long position) const;
    // The item with a key ("element not found" when there is none).
    NodePtr Item(std::wstring_view key) const;
    bool Contains(std::wstring_view key) const noexcept;
    // The item with a native handle, or null; in constant time.
    NodePtr FromHandle(HTREEITEM item) const noexcept;
    // The position of an item of this collection (from 1, in the order of adding), or 0 for an
    // item it does not hold; in constant time.
    long PositionOf(const Node& node) const noexcept { return node.owner_ == this ? node.index_ : 0; }
    size_t size() const noexcept { return items_.size(); }
    // How many times the items were cleared: a count that changes with every rebuild, for
    // what is remembered about the items of one tree only.
    unsigned long clears() const noexcept { return clears_; }

    TreeView& tree() const noexcept { return tree_; }

private:
    friend class TreeView;
    // The native items are gone (the window was destroyed): forget them all.
    void detach_all() noexcept;

    TreeView& tree_;
    std::vector<NodePtr> items_;
    // The keys are views of the Nodes' own keys, which never change while the Nodes are here.
    std::unordered_map<std::wstring_view, Node*> by_key_;
    std::unordered_map<HTREEITEM, Node*> by_handle_;
    unsigned long clears_ = 0;
};

}  // namespace kelpy::platform
