// Layer drag and drop. A left press on the label of a layer or group item arms a drag (a
// LayerDrag); the first move that follows with the left button alone over such a label starts
// it, unless the host cancels OnDragLayer. While it runs, every move picks the drop target under
// the cursor, shows the direction cursor and sets the tree's insert mark, and the timer scrolls
// the tree while the cursor is held above or below it. The next left or right button release
// drops.
//
// A LayerDrag owns all that one drag holds, from the press that armed it to its end: the item and
// layer dragged, the target, the mark, the direction shown, and while it runs the mouse capture
// of the tree window, the auto-scroll timer, the screen's custom pointer and the tree's insert
// mark. Its destructor gives them back, whichever way the drag ends: a drop, a drop that finds
// nothing to move or whose model call fails, the loss of the capture to another window, or the
// control's window going away.
#pragma once
#include <windows.h>
#include <memory>
#include <unordered_map>
#include <vector>
#include "com/ptr.h"
#include "kelpy/interact/events.h"
#include "kelpy/interact/layer_moves.h"
#include "kelpy/interact/map_redraw.h"
#include "kelpy/model/options.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/timer.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::tree {
class TreeBuilder;
}

namespace kelpy::interact {

using platform::NodePtr;

// What drags work with.
struct DragParts {
    platform::TreeView& tree;
    platform::Timer& timer;               // scrolls the tree while a drag is held above or below it
    const com::ComPtr<IMap>& map;
    com::ComPtr<ILayer>& selectedLayer;   // a press selects its item's layer
    LayerMoves& moves;
    tree::TreeBuilder& builder;           // rebuilt once after a drop that moved a layer
    Events& events;
    MapRedraw& redraw;
    const Options& options;
};

class LayerDrag {
public:
    // Armed by a press on the label of `node`, the item of `layer`.
    LayerDrag(const DragParts& parts, NodePtr node, com::ComPtr<ILayer> layer) noexcept
        : c_(parts), down_(node), node_(std::move(node)), layer_(std::move(layer)) {}
    ~LayerDrag();
    LayerDrag(const LayerDrag&) = delete;
    LayerDrag& operator=(const LayerDrag&) = delete;

    // Whether its item is still in the tree (a rebuild removes it).
    bool armed() const noexcept;
    bool running() const noexcept { return running_; }
    // Captures the mouse for the tree and switches the timer on.
    void Start();
    // A move while it runs, over `hit` at the tree's client height `y`.
    void Over(const com::ComPtr<TreeViewHitTestInfo>& hit, LONG y);
    // A tick of the timer: one line of scrolling while the cursor is above or below the tree.
    void Tick();
    // The drop: true when a layer moved (the tree rebuilt once).
    bool Drop();

    const com::ComPtr<ILayer>& target_layer() const noexcept { return target_layer_; }
    const NodePtr& target_node() const noexcept { return target_node_; }

private:
    enum class Direction { Up, Down, Neither };
    // ---- the target without DropAtMark (layer_drag.cpp)
    void ShowDragCursor();
    void ShowDragIcon(Direction direction);
    Direction DirectionOfDrop();
    LONG TopLevelPosition(ILayer* layer);
    com::ComPtr<ILayer> BottomLayer();  // the map's last layer (the map must be there)
    void SetInsertMark(const NodePtr& node, bool after);
    void RemoveInsertMark();
    bool DropLayer();

    // ---- DropAtMark (drop_at_mark.cpp): the drop goes where the mark shows, before or after
    // the row under the cursor, in the drawing order of the container the mark is in.
    enum class MarkPlace {
        Before,       // before the target's layer, in its container
        After,        // after it
        FirstMember,  // the first member of the target's group layer
        Top,          // the top of the map
        Bottom,       // the bottom of the map
    };
    // The target, the mark and the cursor's direction for the row under the cursor (at the
    // tree's client height `y`).
    void AimAtMark(const NodePtr& node, LONG y);
    // Whether the tree's client height `y` lies in the lower half of the item's row.
    bool InLowerHalf(const NodePtr& node, LONG y);
    void ShowMarkCursor();
    // The drop of the dragged layer at the place the mark showed; true when a layer moved.
    bool DropAtMark(const TocNode& dragged);

    DragParts c_;
    NodePtr down_;   // the item the press armed the drag on
    NodePtr node_;   // the dragged layer's item, and its layer
    com::ComPtr<ILayer> layer_;
    bool running_ = false;
    HWND captured_ = nullptr;  // the tree window, while the drag runs
    NodePtr target_node_;
    com::ComPtr<ILayer> target_layer_;
    NodePtr mark_node_;
    bool mark_after_ = false;  // the mark is drawn after mark_node_, not before it
    // The map's top-level layers by position, as found for the items of one tree (every change
    // of the top-level order rebuilds the tree): a drag asks the map once, not on every move.
    struct TopLevelOrder {
        unsigned long tree = ~0ul;  // NodeCollection::clears() when it was read; ~0: never
        std::vector<com::ComPtr<IUnknown>> layers;
        std::unordered_map<IUnknown*, LONG> index;
    } top_level_;
    // With DropAtMark: where the drop goes relative to target_node_, and the direction the
    // cursor shows for it.
    MarkPlace mark_place_ = MarkPlace::Before;
    Direction mark_direction_ = Direction::Neither;
    // The row of the item last under the cursor, while the tree neither scrolls nor is rebuilt:
    // asking the tree costs a search of all its items, a move within one row asks nothing.
    struct Row {
        HTREEITEM item = nullptr;
        unsigned long tree = ~0ul;
        int scroll = 0;
        RECT bounds{};
    } row_;
};

// The drags of the tree: the press that arms one, the moves that start it and aim it, the
// timer's ticks, the release that drops it, and its end when the capture goes elsewhere.
class DragDrop {
public:
    explicit DragDrop(const DragParts& parts) noexcept : c_(parts) {}

    void Press(int16_t button, const com::ComPtr<TreeViewHitTestInfo>& hit);
    void Move(int16_t button, const com::ComPtr<TreeViewHitTestInfo>& hit, LONG y);
    void Tick();
    // The release that ends a running drag: `handled` when a layer moved.
    void Drop(VARIANT_BOOL& handled);
    // The drag ends at once, moving nothing, and is not armed any more.
    void End() noexcept { drag_.reset(); }

    bool dragging() const noexcept { return drag_ && drag_->running(); }
    const com::ComPtr<ILayer>& target_layer() const noexcept;
    const NodePtr& target_node() const noexcept;

private:
    DragParts c_;
    std::unique_ptr<LayerDrag> drag_;
};

}  // namespace kelpy::interact
