#include "kelpy/access/item_facts.h"
#include <oleacc.h>
#include <commctrl.h>
#include "kelpy/platform/item_rect.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/model/items.h"
#include "kelpy/tree/renderer_kinds.h"

namespace kelpy::access {

namespace {
using interact::Interaction;

// Whether the tree shows the item expanded, asked of the tree itself (one message): TVM_EXPAND
// changes it without any notification, so no copy of it can be trusted.
bool expanded(HWND tree, const NodePtr& node) {
    const LRESULT state = SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node->handle()), TVIS_EXPANDED);
    return (state & TVIS_EXPANDED) != 0;
}

// Whether every item above this one is expanded (its row is in the tree's layout).
bool laid_out(HWND tree, const NodePtr& node) {
    for (NodePtr parent = node->Parent(); parent; parent = parent->Parent())
        if (!expanded(tree, parent)) return false;
    return true;
}

// The item's row in the tree's client pixels; none while it is not shown.
std::optional<RECT> row_of(const platform::TreeView& tree, const NodePtr& node) {
    HWND window = tree.window();
    if (!IsWindowVisible(window) || !laid_out(window, node)) return std::nullopt;
    return platform::ItemRect(window, node->handle(), platform::ItemPart::Row);
}
}  // namespace

std::wstring NameOf(const NodePtr& node) {
    const std::wstring& text = node->Text();
    if (!text.empty()) return text;
    com::ComPtr<TocNode> record = TagOf(node);
    NodePtr layer = node->Parent();
    if (!record || !layer || !tree::IsSwatchRow(*record.get())) return text;
    return layer->Text() + L" symbol";
}

LONG StateOf(const platform::TreeView& tree, const NodePtr& node) {
    LONG state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    HWND window = tree.window();
    if (tree.caret() == node->handle()) {
        state |= STATE_SYSTEM_SELECTED;
        if (GetFocus() == window) state |= STATE_SYSTEM_FOCUSED;
    }
    if (node->Children() > 0) state |= expanded(window, node) ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    com::ComPtr<TocNode> record = TagOf(node);
    if (record && (record->TOCNodeType == ::TOCNodeType::Layer || record->TOCNodeType == ::TOCNodeType::GroupLayer)) {
        // The check box as the item shows it, whatever set it.
        const std::wstring image = node->Image();
        if (image == L"checked") state |= STATE_SYSTEM_CHECKED;
        else if (image == L"mixed") state |= STATE_SYSTEM_MIXED;
    }
    const std::optional<RECT> row = row_of(tree, node);
    if (!row) return state | STATE_SYSTEM_INVISIBLE;
    RECT client{};
    GetClientRect(window, &client);
    if (row->bottom <= client.top || row->top >= client.bottom) state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    return state;
}

std::optional<RECT> ScreenRectOf(const platform::TreeView& tree, const NodePtr& node) {
    std::optional<RECT> row = row_of(tree, node);
    if (row) MapWindowPoints(tree.window(), HWND_DESKTOP, reinterpret_cast<POINT*>(&*row), 2);
    return row;
}

const wchar_t* DefaultActionOf(const TocNode& record) {
    switch (Interaction::ActionOf(record)) {
    case Interaction::ImageAction::Toggle:
        return L"Toggle";
    case Interaction::ImageAction::ChooseSymbol:
        return L"Change symbol";
    default:
        return nullptr;
    }
}

}  // namespace kelpy::access
