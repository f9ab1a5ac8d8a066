#include "kelpy/access/accessible_tree.h"
#include <string>
#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/access/item_facts.h"
#include "kelpy/draw/row_marks.h"
#include "kelpy/model/items.h"

namespace kelpy::access {

namespace {
void set_long(VARIANT* v, LONG value) noexcept {
    v->vt = VT_I4;
    v->lVal = value;
}

// A string answer: S_FALSE and null for an empty one.
HRESULT set_text(BSTR* out, std::wstring_view text) {
    if (text.empty()) return S_FALSE;
    *out = com::alloc_bstr(text);
    return S_OK;
}
}  // namespace

AccessibleTree::AccessibleTree(TreeAccess& access, HWND tree)
    : access_(&access), window_(tree), thread_(GetCurrentThreadId()) {
    com::check(CreateStdAccessibleObject(tree, OBJID_CLIENT, __uuidof(IAccessible), standard_.put_void()));
    if (!standard_) com::raise(com::CTL_E_OBJECTNOTSET, L"The system made no accessible object for the tree window");
}

void AccessibleTree::Disconnect() noexcept {
    access_ = nullptr;
    standard_.reset();
}

template <class Body>
HRESULT AccessibleTree::answer(Body&& body) noexcept {
    if (GetCurrentThreadId() != thread_) return RPC_E_WRONG_THREAD;
    if (!access_) return CO_E_OBJNOTCONNECTED;
    try {
        const HRESULT hr = body();
        SetErrorInfo(0, nullptr);
        return hr;
    } catch (...) {
        return com::publish_current_exception(__uuidof(IAccessible));
    }
}

NodePtr AccessibleTree::ItemOf(const VARIANT& child) {
    if (child.vt != VT_I4) com::raise(E_INVALIDARG, L"A child id is a 32-bit integer");
    if (child.lVal == CHILDID_SELF) return nullptr;
    return access_->Item(child.lVal);
}

// ---- the outline and its items

STDMETHODIMP AccessibleTree::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return answer([&] { return standard_->get_accParent(parent); });
}

STDMETHODIMP AccessibleTree::get_accChildCount(LONG* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return answer([&] {
        *count = access_->order().Count();
        return S_OK;
    });
}

STDMETHODIMP AccessibleTree::get_accChild(VARIANT child, IDispatch** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    return answer([&] {
        // The items are simple elements: the client addresses them through this object.
        if (!ItemOf(child)) com::raise(E_INVALIDARG, L"The client area is no child of itself");
        return S_FALSE;
    });
}

STDMETHODIMP AccessibleTree::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    return answer([&] {
        NodePtr node = ItemOf(child);
        return node ? set_text(name, NameOf(node)) : standard_->get_accName(child, name);
    });
}

STDMETHODIMP AccessibleTree::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    return answer([&] {
        if (!ItemOf(child)) return standard_->get_accValue(child, value);
        return set_text(value, std::to_wstring(access_->order().DepthOf(child.lVal)));
    });
}

STDMETHODIMP AccessibleTree::get_accDescription(VARIANT child, BSTR* description) {
    if (!description) return E_POINTER;
    *description = nullptr;
    return answer([&] {
        NodePtr node = ItemOf(child);
        if (!node) return standard_->get_accDescription(child, description);
        // A row's count and its scale note, as the row shows them (row_marks.h).
        com::ComPtr<TocNode> record = TagOf(node);
        const std::wstring text = record ? draw::RowDescription(*record.get()) : std::wstring();
        return text.empty() ? S_FALSE : set_text(description, text);
    });
}

STDMETHODIMP AccessibleTree::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    return answer([&] {
        set_long(role, ItemOf(child) ? ROLE_SYSTEM_OUTLINEITEM : ROLE_SYSTEM_OUTLINE);
        return S_OK;
    });
}

STDMETHODIMP AccessibleTree::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    return answer([&] {
        NodePtr node = ItemOf(child);
        if (!node) return standard_->get_accState(child, state);
        set_long(state, StateOf(access_->tree(), node));
        return S_OK;
    });
}

STDMETHODIMP AccessibleTree::get_accHelp(VARIANT child, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    return answer([&] { return ItemOf(child) ? S_FALSE : standard_->get_accHelp(child, help); });
}

STDMETHODIMP AccessibleTree::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = -1;
    return answer([&] { return ItemOf(child) ? S_FALSE : standard_->get_accHelpTopic(file, child, topic); });
}

STDMETHODIMP AccessibleTree::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (!shortcut) return E_POINTER;
    *shortcut = nullptr;
    return answer([&] { return ItemOf(child) ? S_FALSE : standard_->get_accKeyboardShortcut(child, shortcut); });
}

STDMETHODIMP AccessibleTree::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    return answer([&] {
        NodePtr node = ItemOf(child);
        if (!node) return standard_->get_accDefaultAction(child, action);
        com::ComPtr<TocNode> record = TagOf(node);
        const wchar_t* name = record ? DefaultActionOf(*record.get()) : nullptr;
        return set_text(action, name ? name : L"");
    });
}

STDMETHODIMP AccessibleTree::accDoDefaultAction(VARIANT child) {
    return answer([&] {
        NodePtr node = ItemOf(child);
        if (!node) return standard_->accDoDefaultAction(child);
        return access_->RequestDefaultAction(node) ? S_OK : DISP_E_MEMBERNOTFOUND;
    });
}

// ---- focus and selection: one selected item, the tree's

STDMETHODIMP AccessibleTree::get_accFocus(VARIANT* focused) {
    if (!focused) return E_POINTER;
    VariantInit(focused);
    return answer([&] {
        if (GetFocus() != window_) return S_FALSE;
        set_long(focused, access_->SelectedId());  // the outline itself while no item is selected
        return S_OK;
    });
}

STDMETHODIMP AccessibleTree::get_accSelection(VARIANT* selected) {
    if (!selected) return E_POINTER;
    VariantInit(selected);
    return answer([&] {
        const long id = access_->SelectedId();
        if (id == 0) return S_FALSE;
        set_long(selected, id);
        return S_OK;
    });
}

STDMETHODIMP AccessibleTree::accSelect(LONG flags, VARIANT child) {
    return answer([&] {
        NodePtr node = ItemOf(child);
        if (!node) return standard_->accSelect(flags, child);
        // One item at a time is selected: there is no selection to extend, and an item cannot be
        // both taken into it and removed from it.
        const LONG take = SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION;
        if ((flags & SELFLAG_EXTENDSELECTION) || ((flags & take) && (flags & SELFLAG_REMOVESELECTION)) ||
            (flags & ~(take | SELFLAG_TAKEFOCUS | SELFLAG_REMOVESELECTION)))
            return E_INVALIDARG;
        if (flags & take) node->Selected(true);
        if (flags & SELFLAG_REMOVESELECTION) node->Selected(false);
        if (flags & SELFLAG_TAKEFOCUS) SetFocus(window_);
        return S_OK;
    });
}

// ---- places

STDMETHODIMP AccessibleTree::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return answer([&] {
        NodePtr node = ItemOf(child);
        if (!node) return standard_->accLocation(left, top, width, height, child);
        const std::optional<RECT> row = ScreenRectOf(access_->tree(), node);
        if (!row) return S_FALSE;  // not shown: no place on the screen
        *left = row->left;
        *top = row->top;
        *width = row->right - row->left;
        *height = row->bottom - row->top;
        return S_OK;
    });
}

STDMETHODIMP AccessibleTree::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    return answer([&] {
        const long count = access_->order().Count();
        long to = 0;
        if (!ItemOf(start)) {
            // Into the outline; every other way from it is the standard object's.
            if (direction == NAVDIR_FIRSTCHILD) to = 1;
            else if (direction == NAVDIR_LASTCHILD) to = count;
            else return standard_->accNavigate(direction, start, end);
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
            to = start.lVal + 1;
        } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
            to = start.lVal - 1;
        }
        if (to < 1 || to > count) return S_FALSE;
        set_long(end, to);
        return S_OK;
    });
}

STDMETHODIMP AccessibleTree::accHitTest(LONG x, LONG y, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    return answer([&] {
        POINT point{x, y};
        ScreenToClient(window_, &point);
        RECT client{};
        GetClientRect(window_, &client);
        if (!IsWindowVisible(window_) || !PtInRect(&client, point)) return S_FALSE;
        TVHITTESTINFO test{};
        test.pt = point;
        SendMessageW(window_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
        // A point of the client area on no item is the outline itself.
        set_long(child, test.hItem ? access_->order().IdOf(test.hItem) : CHILDID_SELF);
        return S_OK;
    });
}

STDMETHODIMP AccessibleTree::put_accName(VARIANT, BSTR) { return DISP_E_MEMBERNOTFOUND; }

STDMETHODIMP AccessibleTree::put_accValue(VARIANT, BSTR) { return DISP_E_MEMBERNOTFOUND; }

STDMETHODIMP AccessibleTree::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = nullptr;
    return answer([&] {
        *window = window_;
        return S_OK;
    });
}

}  // namespace kelpy::access
