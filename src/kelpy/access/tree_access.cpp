#include "kelpy/access/tree_access.h"
#include <oleacc.h>
#include <string>
#include "com/error.h"
#include "kelpy/access/accessible_tree.h"
#include "kelpy/access/item_facts.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/model/items.h"
#include "kelpy/platform/handler.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy::access {

namespace {
// The message by which the object posts work to the tree window (the tree's own); its wParam
// says which work.
UINT work_message() noexcept { return platform::TreeView::work_message(); }
constexpr WPARAM announce_rebuild = 1;   // the tree was built again
constexpr WPARAM default_action = 2;     // lParam: the request's number
}  // namespace

TreeAccess::TreeAccess(platform::TreeView& tree, const tree::TreeBuilder& builder,
                       interact::Interaction& interaction) noexcept
    : tree_(tree), builder_(builder), interaction_(interaction), order_(tree.Nodes()) {}

TreeAccess::~TreeAccess() { Disconnect(); }

bool TreeAccess::Wants(LONG msg) noexcept {
    return msg == WM_GETOBJECT || msg == WM_SETFOCUS || (work_message() && UINT(msg) == work_message());
}

void TreeAccess::TreeWndProc(LONG msg, LONG_PTR wp, LONG_PTR lp, LONG_PTR& result, VARIANT_BOOL& handled) {
    if (msg == WM_GETOBJECT) {
        bool answered = false;
        ObjectRequested(WPARAM(wp), lp, result, answered);
        if (answered) handled = VARIANT_TRUE;
    } else if (msg == WM_SETFOCUS) {
        FocusGained();
    } else {
        handled = VARIANT_TRUE;
        WorkPosted(WPARAM(wp), lp);
    }
}

void TreeAccess::ObjectRequested(WPARAM flags, LPARAM id, LRESULT& result, bool& handled) {
    // The object id is a 32-bit value, whatever the width of lParam.
    if (static_cast<DWORD>(id) != static_cast<DWORD>(OBJID_CLIENT)) return;
    const LRESULT answer = LresultFromObject(__uuidof(IAccessible), flags, Object()->unknown());
    if (FAILED(HRESULT(answer))) com::raise(HRESULT(answer), L"The tree's accessible object could not be handed out");
    result = answer;
    handled = true;
}

void TreeAccess::FocusGained() { Announce(EVENT_OBJECT_FOCUS, tree_.caret()); }

void TreeAccess::WorkPosted(WPARAM kind, LPARAM request) {
    if (kind == announce_rebuild) {
        Announce(EVENT_OBJECT_REORDER, nullptr);
        AnnounceSelection(tree_.caret());
    } else if (kind == default_action) {
        DoDefaultAction(request);
    }
}

void TreeAccess::DoDefaultAction(LPARAM request) {
    const auto it = requested_.find(request);
    if (it == requested_.end()) return;
    const com::ComPtr<TocNode> record = std::move(it->second);
    requested_.erase(it);
    // The item that carries the record now: the record's handle names it while it is in the
    // tree; after a rebuild that handle may name another item, with a record of its own.
    const RecordedNode found = FindRecordedNode(tree_, record->Handle);
    if (found.node && found.record.get() == record.get()) interaction_.ActOnImage(found.node);
}

NodePtr TreeAccess::Item(long id) {
    NodePtr node = order_.At(id);
    if (!node) com::raise(E_INVALIDARG, L"The tree has no item with the child id " + std::to_wstring(id));
    return node;
}

long TreeAccess::SelectedId() {
    const HTREEITEM selected = tree_.caret();
    return selected ? order_.IdOf(selected) : 0;
}

bool TreeAccess::RequestDefaultAction(const NodePtr& node) {
    com::ComPtr<TocNode> record = TagOf(node);
    if (!record || !DefaultActionOf(*record.get())) return false;
    const LPARAM request = ++last_request_;
    requested_.emplace(request, record);
    if (!PostMessageW(tree_.window(), work_message(), default_action, request)) {
        requested_.erase(request);
        com::raise(HRESULT_FROM_WIN32(GetLastError()), L"The default action could not be requested");
    }
    return true;
}

// ---- the tree's changes

void TreeAccess::SelectionChanged(HTREEITEM item) noexcept {
    // A rebuild selects its item before it ends; the announcement after it says so.
    if (!builder_.resetting()) AnnounceSelection(item);
}

void TreeAccess::ItemChanged(const platform::Node& node) noexcept {
    if (!builder_.resetting() && !node.removed()) Announce(EVENT_OBJECT_STATECHANGE, node.handle());
}

void TreeAccess::ItemsCleared() noexcept {
    // The children are announced as reordered once the rebuild is over: when the thread runs
    // its messages again.
    if (HWND window = tree_.hWnd()) PostMessageW(window, work_message(), announce_rebuild, 0);
}

void TreeAccess::AnnounceSelection(HTREEITEM item) noexcept {
    if (!item) return;
    if (GetFocus() == tree_.hWnd()) Announce(EVENT_OBJECT_FOCUS, item);
    Announce(EVENT_OBJECT_SELECTION, item);
}

void TreeAccess::Announce(DWORD event, HTREEITEM item) noexcept {
    HWND window = tree_.hWnd();
    // Nobody listening: the child id is not even looked up.
    if (!window || !IsWinEventHookInstalled(event)) return;
    platform::run_handler(L"an accessibility event", [&] {
        LONG child = CHILDID_SELF;
        if (item && (child = order_.IdOf(item)) == 0) return;
        NotifyWinEvent(event, window, OBJID_CLIENT, child);
    });
}

// ---- the object

com::ComPtr<AccessibleTree> TreeAccess::Object() {
    HWND window = tree_.window();
    if (object_ && object_->window() == window) return object_;
    Disconnect();
    object_ = AccessibleTree::create(*this, window);
    return object_;
}

void TreeAccess::Disconnect() noexcept {
    if (!object_) return;
    object_->Disconnect();
    // The stubs of clients in other apartments let go of it too.
    CoDisconnectObject(object_->unknown(), 0);
    object_.reset();
}

}  // namespace kelpy::access
