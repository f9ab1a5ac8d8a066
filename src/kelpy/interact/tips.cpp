// The tips of the tree's items, while the host shows them (ShowTips): an item whose label the
// window cuts off shows it whole in a tip; a layer's or group's tip adds the kind of layer it is,
// where the layer tells (by the interfaces it has). Labels that show whole, rows without a label
// of their own (a legend swatch alone, a ramp's ends) and the holder have no tip.
#include <commctrl.h>
#include "kelpy/draw/row_marks.h"
#include "kelpy/platform/item_rect.h"
#include "kelpy/interact/tips.h"
#include "kelpy/model/items.h"
#include "kelpy/tree/renderer_kinds.h"

namespace kelpy::interact {

namespace {
const wchar_t* kind_of(const com::ComPtr<ILayer>& layer) {
    if (layer.query<IGroupLayer>()) return L"Group layer";
    if (layer.query<IFeatureLayer>()) return L"Feature layer";
    if (layer.query<IRasterLayer>()) return L"Raster layer";
    return nullptr;
}
}  // namespace

std::wstring ItemTips::TipText(const platform::NodePtr& node) const {
    com::ComPtr<TocNode> record = TagOf(node);
    if (!record) return {};
    // A row the map does not draw at its scale says so, and why (ShowScaleRanges).
    std::wstring note = options_.showScaleRanges ? draw::ScaleNote(*record.get()) : std::wstring();
    if (!note.empty()) {
        if (!options_.showTips || !LabelCutOff(node, *record.get())) return note;
        return node->Text() + L"\n" + note;
    }
    if (!options_.showTips || node->Text().empty()) return {};
    if (tree::IsSwatchRow(*record.get()) && tree::LabelOf(*record.get()) != tree::RowLabel::Text) return {};
    if (!LabelCutOff(node, *record.get())) return {};
    std::wstring text = node->Text();
    const ::TOCNodeType type = record->TOCNodeType;
    if ((type == ::TOCNodeType::Layer || type == ::TOCNodeType::GroupLayer) && record->Layer) {
        if (const wchar_t* kind = kind_of(record->Layer)) text += std::wstring(L" \u2014 ") + kind;
    }
    return text;
}

// The label's rectangle (its text, as the tree lays it out; a legend row's label is painted in
// the same place) reaches beyond the client area on either side.
bool ItemTips::LabelCutOff(const platform::NodePtr& node, const TocNode& record) const {
    HWND tree = tree_.window();
    const std::optional<RECT> label = platform::ItemRect(tree, node->handle(), platform::ItemPart::Label);
    if (!label) return false;
    RECT client{};
    GetClientRect(tree, &client);
    // The count painted after the label is part of the row's width.
    const LONG right = label->right + (options_.showFeatureCounts ? draw::CountWidth(tree, record) : 0);
    return right > client.right || label->left < client.left;
}

}  // namespace kelpy::interact
