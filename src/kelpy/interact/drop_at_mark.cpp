// DropAtMark: the insert mark is drawn before or after the row under the cursor (its upper or
// lower half), and the drop puts the dragged layer exactly there, in the drawing order of the
// container the mark is in: among the map's top-level layers or among a group layer's members.
//
//   a layer's row          upper half: before the layer; lower half: after it (the mark after
//                          the last row of its legend when that shows)
//   a legend row           after the row's layer
//   a group's row          upper half: before the group; lower half: the group's first member
//                          when the group is expanded, else after the group
//   the map's row          the top of the map (the mark before the first layer)
//   the last, empty row    the bottom of the map (the mark before that row)
//
// No mark shows, and nothing is dropped, over the dragged layer's own rows or where a group
// layer would go into itself or a group below it. The cursor shows whether the place lies above
// or below the dragged layer's row.
#include <windows.h>
#include <commctrl.h>
#include "com/error.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/model/items.h"
#include "kelpy/platform/item_rect.h"
#include "kelpy/platform/mouse_pointer.h"

namespace kelpy::interact {

void Interaction::AimAtMark(const NodePtr& node, LONG y) {
    com::ComPtr<TocNode> record = RecordOf(node);
    const bool lower = InLowerHalf(node, y);
    platform::NodeCollection& nodes = c_.tree.Nodes();
    NodePtr anchor = node;     // the item whose layer the place is counted from
    NodePtr mark = node;       // the item the mark is drawn at
    bool after = false;        // after that item, not before it
    com::ComPtr<IGroupLayer> container;  // where the layer would go (Nothing: the map)
    switch (record->TOCNodeType) {
    case ::TOCNodeType::Root: {
        if (!c_.map) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
        com::check(c_.map->get_Layer(0, m_pTargetLayer.put()));
        m_markPlace = MarkPlace::Top;
        if (NodePtr first = node->Child()) mark = first;
        else after = true;
        break;
    }
    case ::TOCNodeType::Holder:
        m_pTargetLayer = BottomLayer();
        m_markPlace = MarkPlace::Bottom;
        break;
    case ::TOCNodeType::GroupLayer:
        m_pTargetLayer = record->Layer;
        container = record->GroupLayer;
        m_markPlace = MarkPlace::Before;
        if (lower) {
            after = true;
            if (node->Expanded()) {
                m_markPlace = MarkPlace::FirstMember;
                container = record->Layer.as<IGroupLayer>();
            } else {
                m_markPlace = MarkPlace::After;
            }
        }
        break;
    default: {
        // A layer's row, or a legend row (after its layer).
        if (record->TOCNodeType != ::TOCNodeType::Layer) {
            anchor = node->Parent();
            record = RecordOf(anchor);
        }
        m_pTargetLayer = record->Layer;
        container = record->GroupLayer;
        m_markPlace = lower || anchor != node ? MarkPlace::After : MarkPlace::Before;
        if (m_markPlace == MarkPlace::After) {
            // After the layer's last row: its legend rows follow it in the tree's order.
            after = true;
            mark = anchor->Expanded() && anchor->Children() > 0 ? nodes.Item(anchor->Index() + anchor->Children()) : anchor;
        }
        break;
    }
    }
    m_pTargetNode = anchor;

    // No place among the dragged layer's own rows, nor in a group below a dragged group.
    const bool own = com::same_object(m_pTargetLayer.get(), m_pDragLayer.get());
    if (!m_pDragLayer || own || (container && Holds(m_pDragLayer.get(), container.get()))) {
        m_pTargetLayer = nullptr;
        m_pTargetNode = nullptr;
        m_markDirection = DragDirection::Neither;
        if (m_pInsertMarkNode) RemoveInsertMark();
        return;
    }
    SetInsertMark(mark, after);
    // Above or below the dragged layer's row, in the tree's order (the order of adding).
    const long place = 2L * mark->Index() + (after ? 1 : -1);
    const bool dragLive = m_pDragNode && !m_pDragNode->removed();
    m_markDirection = !dragLive ? DragDirection::Neither
                      : place < 2L * m_pDragNode->Index() ? DragDirection::Up
                                                          : DragDirection::Down;
}

bool Interaction::InLowerHalf(const NodePtr& node, LONG y) {
    HWND tree = c_.tree.window();
    const HTREEITEM item = node->handle();
    const unsigned long built = c_.tree.Nodes().clears();
    const int scroll = GetScrollPos(tree, SB_VERT);
    if (m_row.item != item || m_row.tree != built || m_row.scroll != scroll) {
        m_row = {item, built, scroll, platform::ItemRect(tree, item, platform::ItemPart::Row).value_or(RECT{})};
    }
    return y >= (m_row.bounds.top + m_row.bounds.bottom) / 2;
}

void Interaction::ShowMarkCursor() {
    ShowDragIcon(m_pTargetLayer && m_pTargetNode ? m_markDirection : DragDirection::Neither);
}

bool Interaction::DropAtMark(const TocNode& dragged) {
    com::ComPtr<TocNode> anchor = RecordOf(m_pTargetNode);
    Place to;
    switch (m_markPlace) {
    case MarkPlace::Top: to = {nullptr, 0}; break;
    case MarkPlace::Bottom: com::check(c_.map->get_LayerCount(&to.position)); break;
    case MarkPlace::FirstMember: to = {anchor->Layer.as<IGroupLayer>(), 0}; break;
    case MarkPlace::Before:
    case MarkPlace::After: {
        to.group = anchor->GroupLayer;
        to.position = PositionIn(to.group, anchor->Layer);
        if (to.position < 0) return false;  // the layer is no longer there: nothing to count from
        if (m_markPlace == MarkPlace::After) ++to.position;
        break;
    }
    }
    return MoveTo(dragged.Layer, dragged.GroupLayer, to);
}

}  // namespace kelpy::interact
