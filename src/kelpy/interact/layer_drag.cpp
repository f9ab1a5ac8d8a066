// The drag (layer_drag.h): the press that arms it, the moves that start it and aim it, the
// timer's scrolling, the drop and the clean-up.
//
// Items that a rebuild removed (every drop ends in one, and the map may change during a drag)
// count as Nothing here: no drop moves a layer for them and no mark is sent for them.
#include <windows.h>
#include <commctrl.h>
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/interact/drag_cursors.h"
#include "kelpy/interact/layer_drag.h"
#include "kelpy/interact/one_rebuild.h"
#include "kelpy/model/items.h"
#include "kelpy/model/resource_ids.h"
#include "kelpy/platform/mouse_pointer.h"
#include "kelpy/tree/tree_builder.h"
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

NodePtr node_of(const com::ComPtr<TreeViewHitTestInfo>& hit) { return platform::Node::From(hit->Node.get()); }

}  // namespace

// ---- the drags of the tree

void DragDrop::Press(int16_t button, const com::ComPtr<TreeViewHitTestInfo>& hit) {
    // 1. A press on no item changes nothing; neither does one while a drag runs (its button is
    // held: the release ends it).
    NodePtr node = node_of(hit);
    if (!node || dragging()) return;
    // 2-3.
    com::ComPtr<TocNode> record = RecordOf(node);
    com::ComPtr<ILayer> layer = record->Layer;
    drag_.reset();
    // 4. The left button alone selects layer and group items only, and arms a drag on a label.
    if (button == 1) {
        if (!is_layer_item(record->TOCNodeType)) return;
        if (hit->TreeviewHitTest == ::TreeviewHitTestCode::ONITEMLABEL) drag_ = std::make_unique<LayerDrag>(c_, node, layer);
    }
    // 5. Any other press selects the item's layer (Nothing for the root and the holder).
    c_.selectedLayer = layer;
}

void DragDrop::Move(int16_t button, const com::ComPtr<TreeViewHitTestInfo>& hit, LONG y) {
    if (dragging()) return drag_->Over(hit, y);
    // 1. No drag runs: the tree holds no capture of its own.
    if (GetCapture() == c_.tree.window()) ReleaseCapture();
    // 2-4. A drag starts on the first move with the left button alone over the label of a layer
    // or group item, after a press that armed one.
    NodePtr node = node_of(hit);
    if (!node) return;
    com::ComPtr<TocNode> record = RecordOf(node);
    if (button != 1 || !drag_ || !drag_->armed() || !is_layer_item(record->TOCNodeType) ||
        hit->TreeviewHitTest != ::TreeviewHitTestCode::ONITEMLABEL)
        return;
    // 5. Unless the host cancels (a cancelled drag stays armed).
    bool cancel = false;
    com::ComPtr<ILayer> layer = record->Layer;  // what the host stores here is not used
    c_.events.RaiseOnDragLayer(cancel, layer, node);
    if (cancel || !drag_) return;
    drag_->Start();
}

void DragDrop::Tick() {
    if (dragging()) drag_->Tick();
}

// Every release that ends a drag ends the same way, whether it moved a layer or not: the drag's
// capture, timer, pointer and mark are given back, the pending messages run once, and the map
// is redrawn when a layer moved. A failing model call ends the drop after the drag's clean-up,
// with the failure reported.
void DragDrop::Drop(VARIANT_BOOL& handled) {
    bool moved = false;
    ReportFailure(c_.events, L"move", [&] {
        // Leaving this block, however, ends the drag (before the host hears of a failure).
        const std::unique_ptr<LayerDrag> drag = std::move(drag_);
        moved = drag->Drop();
        if (moved) handled = VARIANT_TRUE;
    });
    win::DoEvents();
    if (moved) c_.redraw.Refresh();
}

const com::ComPtr<ILayer>& DragDrop::target_layer() const noexcept {
    static const com::ComPtr<ILayer> none;
    return drag_ ? drag_->target_layer() : none;
}

const NodePtr& DragDrop::target_node() const noexcept {
    static const NodePtr none;
    return drag_ ? drag_->target_node() : none;
}

// ---- one drag

bool LayerDrag::armed() const noexcept { return live(down_); }

// The capture is the drag's: when another window takes it (a pop-up, a modal dialog, a switch to
// another program), the drag ends at once, so that it never runs on while another window owns
// the mouse.
void LayerDrag::Start() {
    captured_ = c_.tree.window();
    running_ = true;
    SetCapture(captured_);
    c_.timer.Enabled(true);
}

// In this order: the default pointer, the capture, the mark, the timer.
LayerDrag::~LayerDrag() {
    if (!running_) return;
    running_ = false;
    platform::SetMousePointer(platform::MousePointer::Default);
    mark_node_ = nullptr;
    // Only the tree's own capture is given up; a capture that another window took meanwhile is
    // that window's.
    if (GetCapture() == captured_) ReleaseCapture();
    if (IsWindow(captured_)) SendMessageW(captured_, TVM_SETINSERTMARK, 0, 0);
    c_.timer.Enabled(false);
}

void LayerDrag::Over(const com::ComPtr<TreeViewHitTestInfo>& hit, LONG y) {
    HWND tree = c_.tree.window();
    // 1-3. The tree holds the mouse from the drag's start (losing it ends the drag), and the
    // cursor shows the direction of the target found by the move before this one (with
    // DropAtMark, of the place this move finds).
    platform::SetMousePointer(platform::MousePointer::Custom);
    if (!c_.options.dropAtMark) ShowDragCursor();

    // 4. Over no item: the mark goes when the cursor has left the tree; the target stays.
    NodePtr node = node_of(hit);
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
        com::check(c_.map->get_Layer(0, target_layer_.put()));
        target_node_ = c_.tree.Nodes().Item(L"root")->Child();
        break;
    case ::TOCNodeType::Layer:
    case ::TOCNodeType::GroupLayer:
        // The dragged layer's own item is no target.
        if (com::same_object(layer.get(), layer_.get())) {
            target_layer_ = nullptr;
            target_node_ = nullptr;
        } else {
            target_layer_ = layer;
            target_node_ = node;
        }
        break;
    case ::TOCNodeType::Holder: {
        // The bottom layer; the mark before the holder, the last item.
        target_layer_ = BottomLayer();
        platform::NodeCollection& nodes = c_.tree.Nodes();
        target_node_ = nodes.Item(nodes.Count());
        break;
    }
    default:
        // A legend row: its layer, and the mark before the layer's item.
        target_layer_ = layer;
        target_node_ = node->Parent();
        break;
    }

    // 6. The mark, sent only when the target's place changes; none before the dragged layer's
    // own item.
    if (!target_node_) return;
    com::ComPtr<TocNode> target = RecordOf(target_node_);
    if (com::same_object(target->Layer.get(), layer_.get())) {
        if (live(mark_node_) && mark_node_->Index() == target_node_->Index()) return;
        mark_node_ = target_node_;
        mark_after_ = false;
        SendMessageW(tree, TVM_SETINSERTMARK, 0, 0);
        return;
    }
    SetInsertMark(target_node_, false);
}

// The tree's insert mark before or after an item; sent only when it moves (the tree searches
// all its items for every message that names one).
void LayerDrag::SetInsertMark(const NodePtr& node, bool after) {
    if (live(mark_node_) && mark_node_->Index() == node->Index() && mark_after_ == after) return;
    mark_node_ = node;
    mark_after_ = after;
    SendMessageW(c_.tree.window(), TVM_SETINSERTMARK, after ? TRUE : FALSE, RecordOf(node)->Handle);
}

void LayerDrag::RemoveInsertMark() {
    SendMessageW(c_.tree.window(), TVM_SETINSERTMARK, 0, 0);
    mark_node_ = nullptr;
}

com::ComPtr<ILayer> LayerDrag::BottomLayer() {
    if (!c_.map) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
    LONG count = 0;
    com::check(c_.map->get_LayerCount(&count));
    com::ComPtr<ILayer> bottom;
    com::check(c_.map->get_Layer(count - 1, bottom.put()));
    return bottom;
}

// The drag cursor of a direction (Neither: the one with both heads), at the tree's resolution.
void LayerDrag::ShowDragIcon(Direction direction) {
    const int id = direction == Direction::Up     ? KELPY_CURSOR_DRAG_UP
                   : direction == Direction::Down ? KELPY_CURSOR_DRAG_DOWN
                                                  : KELPY_CURSOR_DRAG_BOTH;
    platform::SetMouseIcon(DragCursor(id, platform::Dpi::Of(c_.tree.hWnd())));
}

void LayerDrag::ShowDragCursor() {
    // No target (or no dragged layer) yet: both heads. A target in neither direction leaves the
    // icon as it was.
    if (!target_layer_ || !layer_) return ShowDragIcon(Direction::Neither);
    if (const Direction direction = DirectionOfDrop(); direction != Direction::Neither) ShowDragIcon(direction);
}

LayerDrag::Direction LayerDrag::DirectionOfDrop() {
    const LONG target = TopLevelPosition(target_layer_.get());
    const LONG dragged = TopLevelPosition(layer_.get());
    if (target < 0 && dragged < 0) return Direction::Neither;
    if (dragged < 0 || (target >= 0 && target <= dragged)) return Direction::Up;
    return Direction::Down;
}

LONG LayerDrag::TopLevelPosition(ILayer* layer) {
    TopLevelOrder& order = top_level_;
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

void LayerDrag::Tick() {
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

bool LayerDrag::Drop() {
    // 1. A release over another window abandons the drag.
    if (window_under_cursor() != c_.tree.window()) return false;
    // 2. So does a drag without a target or a dragged layer, or whose items a rebuild removed,
    // and a drop onto the dragged layer itself (its own item or one of its legend rows): the
    // layer stays where it is, in a group as at the top level.
    if (!target_layer_ || !layer_ || !live(target_node_) || !live(node_)) return false;
    if (com::same_object(target_layer_.get(), layer_.get())) return false;
    if (!c_.map) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
    // 3. The dragged layer's item is the one to select after the rebuild.
    com::Bstr name;
    com::check(layer_->get_Name(name.put()));
    c_.builder.SelectAfterRebuild(name.view());
    // 4-7. The map is redrawn after any drop that got this far without DropAtMark, after one
    // that moved a layer with it.
    bool moved = false;
    MoveRebuildingOnce(c_.builder, c_.map, [&] { return moved = DropLayer(); });
    return moved || !c_.options.dropAtMark;
}

bool LayerDrag::DropLayer() {
    com::ComPtr<TocNode> target = RecordOf(target_node_);
    com::ComPtr<TocNode> dragged = RecordOf(node_);
    if (c_.options.dropAtMark) return DropAtMark(*dragged.get());
    if (target->GroupLayer) {
        // Into the target's group layer (a group dropped onto its own member stays).
        return !com::same_object(target->GroupLayer.get(), layer_.get()) &&
               c_.moves.IntoGroup(dragged->Layer, dragged->GroupLayer, target->GroupLayer);
    }
    if (dragged->GroupLayer) {
        // At the top level, at the target layer's index: out of its group first.
        c_.moves.OutOfGroup(dragged->Layer, dragged->GroupLayer, [&] { return c_.moves.IndexInMap(target_layer_); });
    } else {
        c_.moves.MoveInMap(layer_, c_.moves.IndexInMap(target_layer_));
    }
    return true;
}

}  // namespace kelpy::interact
