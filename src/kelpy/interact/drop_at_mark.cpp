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
#include "kelpy/interact/layer_drag.h"
#include "kelpy/model/items.h"
#include "kelpy/platform/item_rect.h"
#include "kelpy/platform/mouse_pointer.h"

namespace kelpy::interact {

void LayerDrag::AimAtMark(const NodePtr& node, LONG y) {
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
        com::check(c_.map->get_Layer(0, target_layer_.put()));
        mark_place_ = MarkPlace::Top;
        if (NodePtr first = node->Child()) mark = first;
        else after = true;
        break;
    }
    case ::TOCNodeType::Holder:
        target_layer_ = BottomLayer();
        mark_place_ = MarkPlace::Bottom;
        break;
    case ::TOCNodeType::GroupLayer:
        target_layer_ = record->Layer;
        container = record->GroupLayer;
        mark_place_ = MarkPlace::Before;
        if (lower) {
            after = true;
            if (node->Expanded()) {
                mark_place_ = MarkPlace::FirstMember;
                container = record->Layer.as<IGroupLayer>();
            } else {
                mark_place_ = MarkPlace::After;
            }
        }
        break;
    default: {
        // A layer's row, or a legend row (after its layer).
        if (record->TOCNodeType != ::TOCNodeType::Layer) {
            anchor = node->Parent();
            record = RecordOf(anchor);
        }
        target_layer_ = record->Layer;
        container = record->GroupLayer;
        mark_place_ = lower || anchor != node ? MarkPlace::After : MarkPlace::Before;
        if (mark_place_ == MarkPlace::After) {
            // After the layer's last row: its legend rows follow it in the tree's order.
            after = true;
            mark = anchor->Expanded() && anchor->Children() > 0 ? nodes.Item(anchor->Index() + anchor->Children()) : anchor;
        }
        break;
    }
    }
    target_node_ = anchor;

    // No place among the dragged layer's own rows, nor in a group below a dragged group.
    const bool own = com::same_object(target_layer_.get(), layer_.get());
    if (!layer_ || own || (container && c_.moves.Holds(layer_.get(), container.get()))) {
        target_layer_ = nullptr;
        target_node_ = nullptr;
        mark_direction_ = Direction::Neither;
        if (mark_node_) RemoveInsertMark();
        return;
    }
    SetInsertMark(mark, after);
    // Above or below the dragged layer's row, in the tree's order (the order of adding).
    const long place = 2L * mark->Index() + (after ? 1 : -1);
    const bool dragLive = node_ && !node_->removed();
    mark_direction_ = !dragLive ? Direction::Neither
                      : place < 2L * node_->Index() ? Direction::Up
                                                          : Direction::Down;
}

bool LayerDrag::InLowerHalf(const NodePtr& node, LONG y) {
    HWND tree = c_.tree.window();
    const HTREEITEM item = node->handle();
    const unsigned long built = c_.tree.Nodes().clears();
    const int scroll = GetScrollPos(tree, SB_VERT);
    if (row_.item != item || row_.tree != built || row_.scroll != scroll) {
        row_ = {item, built, scroll, platform::ItemRect(tree, item, platform::ItemPart::Row).value_or(RECT{})};
    }
    return y >= (row_.bounds.top + row_.bounds.bottom) / 2;
}

void LayerDrag::ShowMarkCursor() {
    ShowDragIcon(target_layer_ && target_node_ ? mark_direction_ : Direction::Neither);
}

bool LayerDrag::DropAtMark(const TocNode& dragged) {
    com::ComPtr<TocNode> anchor = RecordOf(target_node_);
    LayerMoves::Place to;
    switch (mark_place_) {
    case MarkPlace::Top: to = {nullptr, 0}; break;
    case MarkPlace::Bottom: com::check(c_.map->get_LayerCount(&to.position)); break;
    case MarkPlace::FirstMember: to = {anchor->Layer.as<IGroupLayer>(), 0}; break;
    case MarkPlace::Before:
    case MarkPlace::After: {
        to.group = anchor->GroupLayer;
        to.position = c_.moves.PositionIn(to.group, anchor->Layer);
        if (to.position < 0) return false;  // the layer is no longer there: nothing to count from
        if (mark_place_ == MarkPlace::After) ++to.position;
        break;
    }
    }
    return c_.moves.MoveTo(dragged.Layer, dragged.GroupLayer, to);
}

}  // namespace kelpy::interact
