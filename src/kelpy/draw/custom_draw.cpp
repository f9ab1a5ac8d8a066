// The tree's custom-draw notifications, which the tree sends to its parent, the control window:
// at the start of a paint cycle the painter asks for one notification per item, and per item it
// lets DrawItem paint the item, telling the tree to skip its own drawing of the items DrawItem
// painted. Every other notification passes untouched.
//
// The label rectangle is found only for the legend rows, the one kind of row whose painting
// places anything by it (label_rects.h); the other rows get an empty rectangle, which DrawItem
// never reads for them.
#include "kelpy/draw/item_painter.h"
#include <commctrl.h>
#include "kelpy/model/items.h"
#include "kelpy/tree/renderer_kinds.h"

namespace kelpy::draw {

void ItemPainter::OnNotify(const NMHDR& header, LONG_PTR& result) {
    // 1-2. Only the custom-draw notifications of the control's own tree: a notification
    // from any other window is not read as a tree's record.
    HWND tree = tvwTOC.hWnd();
    if (!tree || header.hwndFrom != tree || header.code != UINT(NM_CUSTOMDRAW)) return;

    // 3. The stage: the start of a paint cycle asks for the items; other stages pass.
    // The answer may set the colour of the item's text, which the notification carries back.
    auto& draw = *reinterpret_cast<NMTVCUSTOMDRAW*>(const_cast<NMHDR*>(&header));
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        m_labels.PaintStarts();
        result = m_marks.PaintStarts();
        return;
    }
    if (draw.nmcd.dwDrawStage == CDDS_POSTPAINT) {
        m_marks.PaintEnds();
        return;
    }
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPOSTPAINT) {
        auto [node, record] = kelpy::FindRecordedNode(tvwTOC, LONG_PTR(draw.nmcd.dwItemSpec));
        if (record) m_marks.AfterTreeRow(draw, *record.get());
        return;
    }
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return;

    // 4-5. The item with its record (read once, for the whole of this item's painting) and,
    // for a legend row, the rectangle of its label (text only), in the tree's client pixels.
    const LONG_PTR handle = LONG_PTR(draw.nmcd.dwItemSpec);
    auto [node, record] = kelpy::FindRecordedNode(tvwTOC, handle);
    RECT rect{};
    if (record && tree::IsSwatchRow(*record.get()))  // DrawItem places its swatch by the label
        rect = m_labels.Label(tree, draw, node->Text());

    // 6-7. The arguments of DrawItem.
    com::ComPtr<CRect> label = CRect::create();
    label->Left = rect.left;
    label->Top = rect.top;
    label->Right = rect.right;
    label->Bottom = rect.bottom;
    com::ComPtr<CustomDrawEventArgs> args = CustomDrawEventArgs::create();
    args->Node = node ? com::ComPtr<IDispatch>(static_cast<IDispatch*>(node.get())) : nullptr;
    args->Rect = label;
    args->hdc = reinterpret_cast<LONG_PTR>(draw.nmcd.hdc);
    args->SkipDefault = false;

    // 8-9. The item painted by the control is skipped by the tree.
    if (node) PaintItem(args, node, record);
    if (args->SkipDefault) result = CDRF_SKIPDEFAULT;
    else if (record) result = m_marks.BeforeTreeRow(draw, *record.get());
}

}  // namespace kelpy::draw
