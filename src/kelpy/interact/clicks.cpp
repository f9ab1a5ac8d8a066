// The clicks on items (clicks.h): the toggles of a layer's visibility, the choice of a legend
// row's symbol, and the right release's report to the host.
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/interact/clicks.h"
#include "kelpy/interact/tree_layout.h"
#include "kelpy/draw/item_painter.h"
#include "kelpy/tree/renderer_kinds.h"
#include "kelpy/tree/tree_builder.h"
#include "kelpy/model/items.h"
#include "kelpy/model/members.h"

namespace kelpy::interact {

void ItemClicks::Click(int16_t button, const com::ComPtr<TreeViewHitTestInfo>& hit) {
    NodePtr node = platform::Node::From(hit->Node.get());
    if (!node) return;
    com::ComPtr<TocNode> record = RecordOf(node);
    if (button == 2) {
        ::TOCNodeType type = record->TOCNodeType;  // a copy: what the host writes back is not used
        c_.events.RaiseOnContextMenu(type);
        return;
    }
    // A left release acts on the item's image only (its check box or its swatch).
    if (hit->TreeviewHitTest != ::TreeviewHitTestCode::ONITEMICON) return;
    DoImageAction(ActionOf(*record.get()), node, record);
}

ItemClicks::ImageAction ItemClicks::ActionOf(const TocNode& record) {
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

void ItemClicks::DoImageAction(ImageAction action, const NodePtr& node, const com::ComPtr<TocNode>& record) {
    if (action == ImageAction::Toggle) ReportFailure(c_.events, L"toggle", [&] { ToggleVisibility(node, record->Layer); });
    else if (action == ImageAction::ChooseSymbol) ReportFailure(c_.events, L"symbol", [&] { ChooseSymbol(node, record); });
}

void ItemClicks::ActOnImage(const NodePtr& node) {
    com::ComPtr<TocNode> record = RecordOf(node);
    const ImageAction action = ActionOf(*record.get());
    if (action == ImageAction::Toggle) c_.selectedLayer = record->Layer;
    DoImageAction(action, node, record);
}

void ItemClicks::ToggleVisibility(const NodePtr& node, const com::ComPtr<ILayer>& layer) {
    if (c_.options.mixedGroupChecks) return ToggleWithMixedChecks(node, layer);
    VARIANT_BOOL visible = VARIANT_FALSE;
    com::check(layer->get_Visible(&visible));
    com::check(layer->put_Visible(com::vb(!com::is_true(visible))));
    com::check(layer->get_Visible(&visible));  // the image shows what the layer says now
    const wchar_t* image = com::is_true(visible) ? L"checked" : L"unchecked";
    node->Image(image);
    node->SelectedImage(image);
    c_.redraw.AfterChange();
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
void ItemClicks::ToggleWithMixedChecks(const NodePtr& node, const com::ComPtr<ILayer>& layer) {
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
    c_.redraw.AfterChange();
}

void ItemClicks::ChooseSymbol(const NodePtr& node, const com::ComPtr<TocNode>& record) {
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
    RelayoutTree(c_.tree, c_.builder);
    c_.tree.Refresh();

    // 8-9. Into the renderer, and the map redrawn.
    if (tree::WriteRendererSymbol(record->Symbol, *record.get())) c_.redraw.Refresh();
    c_.redraw.Refresh();
}

// The dialog's message loop rebuilt the tree while it was open (a map notification, a host's
// Reset): the row is gone, but the class the person chose a symbol for was noted. The symbol
// goes to that class, found by its key wherever the renderer holds it now, as long as the layer
// still draws with that renderer and it still holds the class (otherwise the choice has nowhere
// to go: a failure), the tree is built again to show it, and the map is redrawn once.
void ItemClicks::KeepSymbolOfRemovedRow(TocNode& record, const tree::NotedClass& noted) {
    tree::WriteToNotedClass(record, noted);
    c_.builder.Rebuild(c_.map);
    c_.redraw.Refresh();
}

}  // namespace kelpy::interact
