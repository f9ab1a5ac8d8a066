// The tree window's releases, keys and capture changes, which reach the interaction as typed
// calls (platform/tree_view.h), or through TreeWndProc from a host. Left and right button
// releases end a running drag (the drop), toggle a layer's visibility on its check image (with
// mixed group checks, a group that does not show checked is shown whole), open the symbol
// selector for a legend row's swatch, and report the item under a right release to the host
// (OnContextMenu). Only a drop that reached the map marks a release as handled; every other
// release goes on to the tree. Keys the control acts on (keyboard.cpp) are handled. The loss of
// the mouse capture to another window ends a running drag.
#include <windowsx.h>
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/tree/tree_builder.h"
#include "kelpy/draw/item_painter.h"
#include "kelpy/tree/renderer_kinds.h"
#include "kelpy/model/items.h"
#include "kelpy/model/members.h"

namespace kelpy::interact {

bool Interaction::Wants(LONG msg) noexcept {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN ||
           msg == WM_CAPTURECHANGED;
}

void Interaction::TreeWndProc(LONG msg, LONG_PTR wp, LONG_PTR lp, VARIANT_BOOL& handled) {
    switch (msg) {
    case WM_CAPTURECHANGED:
        return CaptureChanged(reinterpret_cast<HWND>(lp));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // A key that was taken is kept from the tree, also when its action failed.
        bool taken = false;
        try {
            KeyDown(WPARAM(wp), lp, msg == WM_SYSKEYDOWN, taken);
        } catch (...) {
            if (taken) handled = VARIANT_TRUE;
            throw;
        }
        if (taken) handled = VARIANT_TRUE;
        return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        // The position in the tree's client pixels, as signed 16-bit values.
        return Release(msg == WM_LBUTTONUP ? 1 : 2, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, handled);
    default:
        return;
    }
}

void Interaction::CaptureChanged(HWND to) {
    // Another window took the mouse (a pop-up, a modal dialog, a switch to another program):
    // a running drag ends at once, as a drop that moves nothing would, and is not armed
    // again (the next move with the button still held would start it anew).
    if (dragging() && to != c_.tree.hWnd()) EndDrag();
}

void Interaction::KeyDown(WPARAM key, LPARAM data, bool system, bool& handled) {
    // A key the control acts on is not the tree's too (and a drag is the mouse's). The
    // system still sees a system key (Alt with an arrow): it must know that a key came
    // between Alt's press and release, or the release would open the host's menu.
    // A key whose action failed was the control's all the same.
    const LONG msg = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    auto taken = [&] {
        handled = true;
        if (system && (data & (1L << 29))) DefWindowProcW(c_.tree.window(), WM_SYSKEYDOWN, key, data);
    };
    try {
        if (dragging() || !OnTreeKey(msg, key, data)) return;
    } catch (const ActionAbandoned&) {
        throw;
    } catch (...) {
        taken();
        throw;
    }
    taken();
}

void Interaction::Release(int16_t button, POINT at, VARIANT_BOOL& handled) {
    com::ComPtr<TreeViewHitTestInfo> hit = HitTest(at.x, at.y);
    if (dragging()) Drop(handled);  // either button's release ends a drag
    else ClickItem(button == 2 ? WM_RBUTTONUP : WM_LBUTTONUP, hit);
}

void Interaction::ClickItem(LONG msg, const com::ComPtr<TreeViewHitTestInfo>& hit) {
    NodePtr node = HitNode(hit);
    if (!node) return;
    com::ComPtr<TocNode> record = RecordOf(node);
    if (msg == WM_RBUTTONUP) {
        ::TOCNodeType type = record->TOCNodeType;  // a copy: what the host writes back is not used
        c_.events.RaiseOnContextMenu(type);
        return;
    }
    // A left release acts on the item's image only (its check box or its swatch).
    if (hit->TreeviewHitTest != ::TreeviewHitTestCode::ONITEMICON) return;
    DoImageAction(ActionOf(*record.get()), node, record);
}

Interaction::ImageAction Interaction::ActionOf(const TocNode& record) {
    switch (record.TOCNodeType) {
    case ::TOCNodeType::Layer:
    case ::TOCNodeType::GroupLayer:
        return record.Layer ? ImageAction::Toggle : ImageAction::None;
    default:
        // A swatch whose kind lets a person choose its symbol; the root, headings, the holder and
        // the fixed swatches (a composite's bands, a stretched ramp) do nothing.
        return tree::CanChooseSymbol(record) ? ImageAction::ChooseSymbol : ImageAction::None;
    }
}

void Interaction::DoImageAction(ImageAction action, const NodePtr& node, const com::ComPtr<TocNode>& record) {
    if (action == ImageAction::Toggle) ReportFailure(c_.events, L"toggle", [&] { ToggleVisibility(node, record->Layer); });
    else if (action == ImageAction::ChooseSymbol) ReportFailure(c_.events, L"symbol", [&] { ChooseSymbol(node, record); });
}

void Interaction::ActOnImage(const NodePtr& node) {
    com::ComPtr<TocNode> record = RecordOf(node);
    const ImageAction action = ActionOf(*record.get());
    if (action == ImageAction::Toggle) c_.selectedLayer = record->Layer;
    DoImageAction(action, node, record);
}

void Interaction::ToggleVisibility(const NodePtr& node, const com::ComPtr<ILayer>& layer) {
    if (c_.options.mixedGroupChecks) return ToggleWithMixedChecks(node, layer);
    VARIANT_BOOL visible = VARIANT_FALSE;
    com::check(layer->get_Visible(&visible));
    com::check(layer->put_Visible(com::vb(!com::is_true(visible))));
    com::check(layer->get_Visible(&visible));  // the image shows what the layer says now
    const wchar_t* image = com::is_true(visible) ? L"checked" : L"unchecked";
    node->Image(image);
    node->SelectedImage(image);
    RedrawAfterChange();
}

namespace {
// Shows a layer and every member below it.
void show_all(ILayer* layer) {
    com::check(layer->put_Visible(VARIANT_TRUE));
    for (const auto& member : MembersOf(layer)) show_all(member.get());
}
}  // namespace

// A change of one layer's visibility may change what the groups above it show, so every check
// image follows the layers afterwards; the images follow them also when a step fails half-way.
void Interaction::ToggleWithMixedChecks(const NodePtr& node, const com::ComPtr<ILayer>& layer) {
    const std::wstring shown = node->Image();
    const bool group = bool(layer.query<ISubLayers>());
    try {
        if (group && (shown == L"unchecked" || shown == L"mixed")) {
            show_all(layer.get());
        } else {
            VARIANT_BOOL visible = VARIANT_FALSE;
            com::check(layer->get_Visible(&visible));
            com::check(layer->put_Visible(com::vb(!com::is_true(visible))));
        }
    } catch (...) {
        try {
            c_.builder.FollowVisibility();
        } catch (...) {
            // the failure above is the one to report
        }
        throw;
    }
    c_.builder.FollowVisibility();
    RedrawAfterChange();
}

void Interaction::ChooseSymbol(const NodePtr& node, const com::ComPtr<TocNode>& record) {
    // 1-2. The host may prevent it.
    bool cancel = false;
    com::ComPtr<ISymbol> offered = record->Symbol;  // what the host stores here is not used
    c_.events.RaiseOnSymbolSelector(cancel, offered);
    if (cancel) return;

    // 3. The platform's selector (whatever class a host registered for it), modal over the
    // control's top-level window, so that the host cannot be used while it is open. The
    // renderer the row was made from and the row's class in it are noted first: the symbol
    // chosen goes there.
    const tree::NotedClass noted = tree::NoteClass(*record.get());
    auto selector = com::ComPtr<ISymbolSelector>::create(CLSID_SymbolSelector);
    VARIANT_BOOL accepted = VARIANT_FALSE;
    com::check(selector->AddSymbol(record->Symbol.get(), &accepted));
    const HWND owner = c_.window ? GetAncestor(c_.window, GA_ROOT) : nullptr;
    VARIANT_BOOL confirmed = VARIANT_FALSE;
    com::check(selector->SelectSymbol(reinterpret_cast<LONG_PTR>(owner), &confirmed));
    if (!com::is_true(confirmed)) return;

    // 4. The chosen symbol.
    com::ComPtr<ISymbol> chosen;
    com::check(selector->GetSymbolAt(0, chosen.put()));
    if (!chosen) com::raise(com::CTL_E_OBJECTNOTSET, L"The symbol selector answered no symbol");
    record->Symbol = chosen;
    if (node->removed()) {
        KeepSymbolOfRemovedRow(*record.get(), noted);
        return;
    }

    // 5-7. The row's new swatch size and height, laid out and painted.
    c_.painter.MeasureSymbol(node);
    RefreshTree();
    c_.tree.Refresh();

    // 8-9. Into the renderer, and the map redrawn.
    SetRendererSymbol(record->Symbol, node);
    RefreshMap();
}

// The dialog's message loop rebuilt the tree while it was open (a map notification, a host's
// Reset): the row is gone, but the class the person chose a symbol for was noted. The symbol
// goes to that class, found by its key wherever the renderer holds it now, as long as the layer
// still draws with that renderer and it still holds the class (otherwise the choice has nowhere
// to go: a failure), the tree is built again to show it, and the map is redrawn once.
void Interaction::KeepSymbolOfRemovedRow(TocNode& record, const tree::NotedClass& noted) {
    tree::WriteToNotedClass(record, noted);
    c_.builder.Rebuild(c_.map);
    RefreshMap();
}

void Interaction::SetRendererSymbol(const com::ComPtr<ISymbol>& symbol, const NodePtr& node) {
    if (tree::WriteRendererSymbol(symbol, *RecordOf(node).get())) RefreshMap();
}

// A release of the tree window: a left or right release drops or clicks (Release); the right
// one then reports the item under it a second time, unless the drop kept it from the tree.
void Interaction::MouseUp(int16_t Button, platform::ShiftMask, POINT p, bool& handled) {
    if (Button == 1 || Button == 2) {
        VARIANT_BOOL dropped = VARIANT_FALSE;
        const HRESULT hr = platform::run_handler(L"the release", [&] { Release(Button, p, dropped); });
        handled = dropped != VARIANT_FALSE;
        if (handled || hr == platform::E_ACTION_ABANDONED) return;
    }
    if (Button != 2) return;
    NodePtr node = HitNode(HitTest(p.x, p.y));
    if (!node) return;
    ::TOCNodeType type = RecordOf(node)->TOCNodeType;
    c_.events.RaiseOnContextMenu(type);
}

}  // namespace kelpy::interact
