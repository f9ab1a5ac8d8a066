// Node: one item of a tree view (see tree_view.h), as the control's code sees it: the object it
// carries (Tag), text, position, look and expanded state, its relatives in the tree.
//
// A Node is a counted COM object, so that records such as CustomDrawEventArgs.Node can hold it
// as an IDispatch; Node::From finds the Node behind such a pointer again. Its IDispatch is
// minimal: it names no members, since hosts never receive items.
//
// The Node keeps what the control has told the tree about the item (text, images, bold,
// expanded) and answers from that, so reading an item costs no message to the native tree;
// changes go to the native item at once. Expansions that the user makes reach the Node through
// the tree's notifications (TreeView::on_notify).
//
// When its tree removes the item (NodeCollection::Clear, or the window's end), the Node is
// detached: every later use fails with E_NODE_REMOVED, and nothing refers to the native item.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <string>
#include <string_view>
#include "com/object.h"
#include "com/ptr.h"

namespace kelpy::platform {

class Node;
class NodeCollection;
using NodePtr = com::ComPtr<Node>;

// The error of an item that its tree has removed.
constexpr HRESULT E_NODE_REMOVED = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 35605);

class Node final : public com::ComObject<Node, IDispatch> {
public:
    // The Node behind an object that a tree handed out, or null for any other object.
    static NodePtr From(IUnknown* object) noexcept;

    // IDispatch, minimal: no type information and no members.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    void* query_more(REFIID riid) noexcept;

    // The object the item carries; null when none has been stored yet.
    com::ComPtr<IDispatch> Tag() const;
    void Tag(com::ComPtr<IDispatch> tag);

    const std::wstring& Key() const;
    const std::wstring& Text() const;
    void Text(std::wstring_view text);
    // Position in the order of adding, from 1.
    int16_t Index() const;
    bool Bold() const;
    void Bold(bool bold);
    bool Expanded() const;
    // An item without children keeps the state until children arrive, and then shows it.
    void Expanded(bool expanded);
    bool Selected() const;
    // Selecting makes the item the tree's caret; deselecting leaves no item selected.
    void Selected(bool selected);
    // Image keys of the tree's image list ("" for none).
    std::wstring Image() const;
    void Image(std::wstring_view key);
    std::wstring SelectedImage() const;
    void SelectedImage(std::wstring_view key);
    // Scrolls the item into view, expanding its ancestors where needed.
    void EnsureVisible();
    NodePtr Parent() const;
    // The first child, or null.
    NodePtr Child() const;
    int16_t Children() const;

    // The native item (for messages about it); an error once the item is removed.
    HTREEITEM handle() const;
    bool removed() const noexcept { return owner_ == nullptr; }

private:
    friend class NodeCollection;
    friend class TreeView;

    NodeCollection& owner() const;
    HWND window() const;
    void set_state(UINT state, UINT mask);
    void set_image(int TVITEMW::*field, UINT mask, int& slot, std::wstring_view key);
    // Reads the expanded state of the item and its ancestors back from the tree, after the tree
    // may have changed them by itself.
    void resync_expanded();
    bool read_expanded(HWND tree) const;
    void detach() noexcept;

    NodeCollection* owner_ = nullptr;
    HTREEITEM item_ = nullptr;
    Node* parent_ = nullptr;
    Node* first_child_ = nullptr;
    long children_ = 0;
    long index_ = 0;
    std::wstring key_, text_;
    int image_ = I_IMAGENONE;  // native positions in the tree's image list
    int selected_image_ = I_IMAGENONE;
    bool bold_ = false;
    bool expanded_ = false;
    com::ComPtr<IDispatch> tag_;
};

}  // namespace kelpy::platform
