// Layer drag and drop. A left press on the label of a layer or group item arms a drag; the first
// move that follows with the left button alone over such a label starts it, unless the host
// cancels OnDragLayer. While it runs, every move picks the drop target under the cursor, shows
// the direction cursor and sets the tree's insert mark, and the timer scrolls the tree while the
// cursor is held above or below it. The next left or right button release drops.
//
// Items that a rebuild removed (every drop ends in one, and the map may change during a drag)
// count as Nothing here: no drop moves a layer for them and no mark is sent for them.
#include <windows.h>
#include <commctrl.h>
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/model/resource_ids.h"
#include "kelpy/interact/drag_cursors.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/tree/tree_builder.h"
#include "kelpy/platform/mouse_pointer.h"
#include "kelpy/model/items.h"
#include "win/message_pump.h"

namespace kelpy::interact {

namespace {
bool live(const NodePtr& node) noexcept { return node && !node->removed(); }

bool is_layer_item(::TOCNodeType type) noexcept {
    return type == ::TOCNodeType::Layer || type == ::TOCNodeType::GroupLayer;
}

// The window under the screen cursor (not the message's own position).
HWND window_under_cursor() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return WindowFromPoint(cursor);
}

}  // namespace

// ---- the press

void Interaction::MouseDown(int16_t Button, platform::ShiftMask, POINT p) {
    // 1. A press on no item changes nothing.
    com::ComPtr<TreeViewHitTestInfo> hit = HitTest(p.x, p.y);
    NodePtr node = HitNode(hit);
    if (!node) return;
    // 2-3.
    com::ComPtr<TocNode> record = RecordOf(node);
    com::ComPtr<ILayer> layer = record->Layer;
    m_pDownNode = nullptr;
    // 4. The left button alone selects layer and group items only, and arms a drag on a label.
    if (Button == 1) {
        if (!is_layer_item(record->TOCNodeType)) return;
        if (hit->TreeviewHitTest == ::TreeviewHitTestCode::ONITEMLABEL) {
            m_pDragLayer = layer;
            m_pDragNode = node;
            m_pDownNode = node;
        }
    }
    // 5. Any other press selects the item's layer (Nothing for the root and the holder).
    c_.selectedLayer = layer;
}

// ---- the moves

void Interaction::MouseMove(int16_t Button, platform::ShiftMask, POINT p) {
    com::ComPtr<TreeViewHitTestInfo> hit = HitTest(p.x, p.y);
    if (m_bDragging) {
        DragOver(hit, p.y);
        return;
    }
    // 1. No drag runs: the tree holds no capture of its own.
    if (GetCapture() == c_.tree.window()) ReleaseCapture();
    // 2-4. A drag starts on the first move with the left button alone over the label of a layer
    // or group item, after a press that armed one.
    NodePtr node = HitNode(hit);
    if (!node) return;
    com::ComPtr<TocNode> record = RecordOf(node);
    if (Button != 1 || !live(m_pDownNode) || !is_layer_item(record->TOCNodeType) ||
        hit->TreeviewHitTest != ::TreeviewHitTestCode::ONITEMLABEL)
        return;
    // 5. Unless the host cancels (a cancelled drag stays armed).
    bool cancel = false;
    com::ComPtr<ILayer> layer = record->Layer;  // what the host stores here is not used
    c_.events.RaiseOnDragLayer(cancel, layer, node);
    if (cancel) return;
    m_pDragSession = std::make_unique<DragSession>(
        c_.tree.window(), DragSession::Members{m_bDragging, m_pInsertMarkNode, c_.timer});
}

void Interaction::DragOver(const com::ComPtr<TreeViewHitTestInfo>& hit, LONG y) {
    HWND tree = c_.tree.window();
    // 1-3. The tree holds the mouse from the drag's start (losing it ends the drag), and the
    // cursor shows the direction of the target found by the move before this one (with
    // DropAtMark, of the place this move finds).
    platform::SetMousePointer(platform::MousePointer::Custom);
    if (!c_.options.dropAtMark) ShowDragCursor();

    // 4. Over no item: the mark goes when the cursor has left the tree; the target stays.
    NodePtr node = HitNode(hit);
    if (!node) {
        if (window_under_cursor() != tree) RemoveInsertMark();
        if (c_.options.dropAtMark) ShowMarkCursor();
        return;
    }
    if (c_.options.dropAtMark) {
        AimAtMark(node, y);
        ShowMarkCursor();
        return;
    }

    // 5. The target by the kind of item under the cursor.
    com::ComPtr<TocNode> record = RecordOf(node);
    com::ComPtr<ILayer> layer = record->Layer;
    switch (record->TOCNodeType) {
    case ::TOCNodeType::Root:
        // The top layer; the mark before the root's first child.
        if (!c_.map) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
        com::check(c_.map->get_Layer(0, m_pTargetLayer.put()));
        m_pTargetNode = c_.tree.Nodes().Item(L"root")->Child();
        break;
    case ::TOCNodeType::Layer:
    case ::TOCNodeType::GroupLayer:
        // The dragged layer's own item is no target.
        if (com::same_object(layer.get(), m_pDragLayer.get())) {
            m_pTargetLayer = nullptr;
            m_pTargetNode = nullptr;
        } else {
            m_pTargetLayer = layer;
            m_pTargetNode = node;
        }
        break;
    case ::TOCNodeType::Holder: {
        // The bottom layer; the mark before the holder, the last item.
        m_pTargetLayer = BottomLayer();
        platform::NodeCollection& nodes = c_.tree.Nodes();
        m_pTargetNode = nodes.Item(nodes.Count());
        break;
    }
    default:
        // A legend row: its layer, and the mark before the layer's item.
        m_pTargetLayer = layer;
        m_pTargetNode = node->Parent();
        break;
    }

    // 6. The mark, sent only when the target's place changes; none before the dragged layer's
    // own item.
    if (!m_pTargetNode) return;
    com::ComPtr<TocNode> target = RecordOf(m_pTargetNode);
    if (com::same_object(target->Layer.get(), m_pDragLayer.get())) {
        if (live(m_pInsertMarkNode) && m_pInsertMarkNode->Index() == m_pTargetNode->Index()) return;
        m_pInsertMarkNode = m_pTargetNode;
        m_bMarkAfter = false;
        SendMessageW(tree, TVM_SETINSERTMARK, 0, 0);
        return;
    }
    SetInsertMark(m_pTargetNode, false);
}

// The tree's insert mark before or after an item; sent only when it moves (the tree searches
// all its items for every message that names one).
void Interaction::SetInsertMark(const NodePtr& node, bool after) {
    if (live(m_pInsertMarkNode) && m_pInsertMarkNode->Index() == node->Index() && m_bMarkAfter == after) return;
    m_pInsertMarkNode = node;
    m_bMarkAfter = after;
    SendMessageW(c_.tree.window(), TVM_SETINSERTMARK, after ? TRUE : FALSE, RecordOf(node)->Handle);
}

void Interaction::RemoveInsertMark() {
    SendMessageW(c_.tree.window(), TVM_SETINSERTMARK, 0, 0);
    m_pInsertMarkNode = nullptr;
}

com::ComPtr<ILayer> Interaction::BottomLayer() {
    if (!c_.map) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
    LONG count = 0;
    com::check(c_.map->get_LayerCount(&count));
    com::ComPtr<ILayer> bottom;
    com::check(c_.map->get_Layer(count - 1, bottom.put()));
    return bottom;
}

// The drag cursor of a direction (Neither: the one with both heads), at the tree's resolution.
void Interaction::ShowDragIcon(DragDirection direction) {
    const int id = direction == DragDirection::Up     ? KELPY_CURSOR_DRAG_UP
                   : direction == DragDirection::Down ? KELPY_CURSOR_DRAG_DOWN
                                                      : KELPY_CURSOR_DRAG_BOTH;
    platform::SetMouseIcon(DragCursor(id, platform::Dpi::Of(c_.tree.hWnd())));
}

void Interaction::ShowDragCursor() {
    // No target (or no dragged layer) yet: both heads. A target in neither direction leaves the
    // icon as it was.
    if (!m_pTargetLayer || !m_pDragLayer) return ShowDragIcon(DragDirection::Neither);
    if (const DragDirection direction = DirectionOfDrop(); direction != DragDirection::Neither)
        ShowDragIcon(direction);
}

Interaction::DragDirection Interaction::DirectionOfDrop() {
    const LONG target = TopLevelPosition(m_pTargetLayer.get());
    const LONG dragged = TopLevelPosition(m_pDragLayer.get());
    if (target < 0 && dragged < 0) return DragDirection::Neither;
    if (dragged < 0 || (target >= 0 && target <= dragged)) return DragDirection::Up;
    return DragDirection::Down;
}

LONG Interaction::TopLevelPosition(ILayer* layer) {
    TopLevelOrder& order = m_topLevel;
    const unsigned long tree = c_.tree.Nodes().clears();
    if (order.tree != tree) {
        // Read with the map's 16-bit walk, once for the items of this tree.
        if (!c_.map) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
        order = TopLevelOrder{};
        LONG count = 0;
        com::check(c_.map->get_LayerCount(&count));
        com::for_int16(count, [&](int16_t i) {
            com::ComPtr<ILayer> top;
            com::check(c_.map->get_Layer(i, top.put()));
            if (!top) return;
            com::ComPtr<IUnknown> identity = top.as<IUnknown>();
            order.index.try_emplace(identity.get(), i);
            order.layers.push_back(std::move(identity));
        });
        order.tree = tree;
    }
    if (!layer) return -1;
    auto it = order.index.find(com::ComPtr<ILayer>(layer).as<IUnknown>().get());
    return it == order.index.end() ? -1 : it->second;
}

// ---- automatic scrolling

void Interaction::tToc_Timer() {
    if (!m_bDragging) return;
    HWND tree = c_.tree.window();
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == tree) return;
    // One line per tick while the cursor is above or below the tree (frame included); beside
    // it nothing scrolls.
    RECT bounds{};
    GetWindowRect(tree, &bounds);
    if (cursor.y < bounds.top) SendMessageW(tree, WM_VSCROLL, SB_LINEUP, 0);
    else if (cursor.y > bounds.bottom) SendMessageW(tree, WM_VSCROLL, SB_LINEDOWN, 0);
}

// ---- the drop

// Every release that ends a drag ends the same way, whether it moved a layer or not: the drag's
// capture, timer, pointer and mark are given back, the pending messages run once, and the map
// is redrawn when a layer moved. A failing map call ends the drop after the drag's clean-up,
// with the failure reported.
void Interaction::Drop(VARIANT_BOOL& handled) {
    bool moved = false;
    ReportFailure(c_.events, L"move", [&] {
        // Leaving this block, however, gives back the capture, the timer, the pointer and the mark
        // (before the host hears of a failure).
        std::unique_ptr<DragSession> session = std::move(m_pDragSession);
        m_bDragging = false;
        moved = DropLayer();
        if (moved) handled = VARIANT_TRUE;
    });
    win::DoEvents();
    if (moved) RefreshMap();
}

bool Interaction::DropLayer() {
    // 1. A release over another window abandons the drag.
    if (window_under_cursor() != c_.tree.window()) return false;
    // 2. So does a drag without a target or a dragged layer, or whose items a rebuild removed,
    // and a drop onto the dragged layer itself (its own item or one of its legend rows): the
    // layer stays where it is, in a group as at the top level.
    if (!m_pTargetLayer || !m_pDragLayer || !live(m_pTargetNode) || !live(m_pDragNode)) return false;
    if (com::same_object(m_pTargetLayer.get(), m_pDragLayer.get())) return false;
    if (!c_.map) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
    // 3-4. The two records; the dragged layer's item is the one to select after the rebuild.
    com::ComPtr<TocNode> target = RecordOf(m_pTargetNode);
    com::ComPtr<TocNode> dragged = RecordOf(m_pDragNode);
    com::Bstr name;
    com::check(m_pDragLayer->get_Name(name.put()));
    c_.builder.SelectAfterRebuild(name.view());
    if (c_.options.dropAtMark) return DropAtMark(*dragged.get());

    if (target->GroupLayer) {
        // 5. Into the target's group layer (a group dropped onto its own member stays).
        if (!com::same_object(target->GroupLayer.get(), m_pDragLayer.get()))
            MoveIntoGroup(dragged->Layer, dragged->GroupLayer, target->GroupLayer);
    } else {
        // 6. At the top level, at the target layer's index; out of its group first.
        if (dragged->GroupLayer) MoveOutOfGroup(dragged->Layer, dragged->GroupLayer);
        const LONG index = GetLayerIndex(m_pTargetLayer);
        com::check(c_.map->MoveLayer(m_pDragLayer.get(), index));
    }
    // 7.
    return true;
}

}  // namespace kelpy::interact
