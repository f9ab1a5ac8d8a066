#include "kelpy/platform/node.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/platform/node_collection.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::platform {

namespace {
// Answered only by Node, with the Node itself: the way back from an IDispatch to its Node.
constexpr GUID IID_NodeItself = {0x6d1c2f0e, 0x51a3, 0x4c7b, {0x9e, 0x2d, 0x31, 0x0f, 0x8a, 0x5b, 0x6c, 0x47}};

LRESULT send(HWND window, UINT msg, WPARAM wp, LPARAM lp) { return SendMessageW(window, msg, wp, lp); }
}  // namespace

NodePtr Node::From(IUnknown* object) noexcept { return com::self_of<Node>(object, IID_NodeItself); }

void* Node::query_more(REFIID riid) noexcept {
    return riid == IID_NodeItself ? static_cast<Node*>(this) : nullptr;
}

STDMETHODIMP Node::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP Node::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP Node::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP Node::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

// ---- the record and the cached properties

NodeCollection& Node::owner() const {
    if (!owner_) com::raise(E_NODE_REMOVED, L"The tree item has been removed from the tree");
    return *owner_;
}

HWND Node::window() const { return owner().tree().window(); }

HTREEITEM Node::handle() const {
    owner();
    return item_;
}

com::ComPtr<IDispatch> Node::Tag() const {
    owner();
    return tag_;
}

void Node::Tag(com::ComPtr<IDispatch> tag) {
    owner();
    tag_ = std::move(tag);
}

const std::wstring& Node::Key() const {
    owner();
    return key_;
}

const std::wstring& Node::Text() const {
    owner();
    return text_;
}

int16_t Node::Index() const {
    owner();
    return com::to_int16(index_);
}

bool Node::Bold() const {
    owner();
    return bold_;
}

bool Node::Expanded() const {
    owner();
    return expanded_;
}

std::wstring Node::Image() const { return owner().tree().image_key(image_); }

std::wstring Node::SelectedImage() const { return owner().tree().image_key(selected_image_); }

NodePtr Node::Parent() const {
    owner();
    return parent_;
}

NodePtr Node::Child() const {
    owner();
    return first_child_;
}

int16_t Node::Children() const {
    owner();
    return com::to_int16(children_);
}

// ---- changes, sent to the native item

void Node::set_state(UINT state, UINT mask) {
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = handle();
    item.state = state;
    item.stateMask = mask;
    if (!send(window(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        com::raise(E_FAIL, L"The tree view did not change the item's state");
}

void Node::Text(std::wstring_view text) {
    std::wstring copy(text);
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT;
    item.hItem = handle();
    item.pszText = copy.data();
    if (!send(window(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        com::raise(E_FAIL, L"The tree view did not change the item's text");
    text_ = std::move(copy);
}

void Node::Bold(bool bold) {
    if (bold == Bold()) return;
    set_state(bold ? TVIS_BOLD : 0, TVIS_BOLD);
    bold_ = bold;
}

void Node::Expanded(bool expanded) {
    if (expanded == Expanded()) return;
    if (children_ == 0) {
        // Nothing to show yet: the state bit alone, which the native tree keeps for the children
        // that come later.
        set_state(expanded ? TVIS_EXPANDED : 0, TVIS_EXPANDED);
        expanded_ = expanded;
        return;
    }
    HWND tree = window();
    send(tree, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
    expanded_ = read_expanded(tree);
}

bool Node::Selected() const {
    HTREEITEM item = handle();
    return owner().tree().caret() == item;
}

void Node::Selected(bool selected) {
    HTREEITEM item = handle();
    if (!selected) {
        if (owner().tree().caret() == item) owner().tree().select_none();
        return;
    }
    owner().tree().select(item);
    // Selecting expands the ancestors of an item that was hidden.
    if (parent_) parent_->resync_expanded();
}

void Node::set_image(int TVITEMW::*field, UINT mask, int& slot, std::wstring_view key) {
    const int index = owner().tree().image_index(key);
    TVITEMW item{};
    item.mask = TVIF_HANDLE | mask;
    item.hItem = handle();
    item.*field = index;
    if (!send(window(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        com::raise(E_FAIL, L"The tree view did not change the item's image");
    slot = index;
}

void Node::Image(std::wstring_view key) {
    set_image(&TVITEMW::iImage, TVIF_IMAGE, image_, key);
    if (TreeViewWatcher* watcher = owner().tree().watcher()) watcher->ItemChanged(*this);
}

void Node::SelectedImage(std::wstring_view key) {
    set_image(&TVITEMW::iSelectedImage, TVIF_SELECTEDIMAGE, selected_image_, key);
}

void Node::EnsureVisible() {
    send(window(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle()));
    if (parent_) parent_->resync_expanded();
}

bool Node::read_expanded(HWND tree) const {
    LRESULT state = send(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED);
    return (state & TVIS_EXPANDED) != 0;
}

void Node::resync_expanded() {
    HWND tree = window();
    for (Node* n = this; n; n = n->parent_) n->expanded_ = n->read_expanded(tree);
}

void Node::detach() noexcept {
    owner_ = nullptr;
    item_ = nullptr;
    parent_ = nullptr;
    first_child_ = nullptr;
    tag_.reset();
}

}  // namespace kelpy::platform
