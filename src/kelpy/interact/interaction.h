// Interaction: what a person does with the tree. It gets every message of the tree window first
// (the tree hook) and the tree's mouse and expand events: clicks toggle a layer's visibility and
// pick new symbols for legend rows, right clicks ask the host for its menu, keys do the same
// without a mouse, layers are dragged and dropped to a new place in the drawing order (with
// DropAtMark, exactly where the insert mark shows: drop_at_mark.cpp), layers are renamed in place,
// and the map is redrawn after each change. It owns the state of a running drag and gives the
// tree's items their tips.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include "com/ptr.h"
#include "kelpy/interact/events.h"
#include "kelpy/interact/drag_session.h"
#include "kelpy/model/options.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/timer.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::tree {
class TreeBuilder;
struct NotedClass;
}
namespace kelpy::draw {
class ItemPainter;
}

namespace kelpy::interact {

using platform::NodePtr;

// The parts of the control that the interaction works with.
struct ControlParts {
    const com::ComPtr<IMap>& map;          // the map the control shows
    com::ComPtr<ILayer>& selectedLayer;    // the layer the user acted on last
    const HWND& window;                    // the control's window (null without one)
    platform::TreeView& tree;
    platform::Timer& timer;                // scrolls the tree while a drag is held above or below it
    tree::TreeBuilder& builder;            // rebuilds the tree after a change of the map's layers
    draw::ItemPainter& painter;
    Events& events;
    const Options& options;                // what the host switched on beyond the first interface
};

class Interaction final : public platform::TreeViewEvents {
public:
    explicit Interaction(const ControlParts& parts) noexcept : c_(parts) {}
    Interaction(const Interaction&) = delete;
    Interaction& operator=(const Interaction&) = delete;

    // Whether TreeWndProc acts on messages of this kind (every other message passes at once).
    static bool Wants(LONG msg) noexcept;
    // A message of the tree window that a host offers (_TOC.TreeWndProc), before the tree sees
    // it: its release, key or capture change handled as the tree window's own; `handled` keeps
    // it from the tree.
    void TreeWndProc(LONG msg, LONG_PTR wp, LONG_PTR lp, VARIANT_BOOL& handled);
    // A tick of the timer: scrolls the tree while a drag is held above or below it.
    void tToc_Timer();
    // The control's window goes: a running drag ends.
    void EndDrag() noexcept { m_pDragSession.reset(); }

    // Which item lies under a point of the tree's client area, and on which part of it.
    com::ComPtr<TreeViewHitTestInfo> HitTest(LONG x, LONG y);
    // What lies at a point of the control's client area, as a host sees it.
    com::ComPtr<TocItemInfo> ItemAt(LONG x, LONG y);
    // Lays the tree out again (after a row's height changed), keeping the user's view.
    void RefreshTree();
    // The position of this very layer among the map's top-level layers, or -1.
    LONG GetLayerIndex(const com::ComPtr<ILayer>& layer);
    // Asks the host (OnBeforeRefreshMap), then redraws the map's view.
    void RefreshMap();

    // What a click on an item's image does: a layer's or group layer's check box toggles its
    // visibility, a legend row's swatch chooses its symbol when its kind lets a person choose
    // one; the root, headings, the holder and fixed swatches do nothing.
    enum class ImageAction { None, Toggle, ChooseSymbol };
    static ImageAction ActionOf(const TocNode& record);
    // Does it without the mouse (a key, a screen reader's default action), as the click does;
    // a toggled layer becomes the selected layer, as the click's press makes it.
    void ActOnImage(const NodePtr& node);

    bool dragging() const noexcept { return m_bDragging; }
    const com::ComPtr<ILayer>& target_layer() const noexcept { return m_pTargetLayer; }
    const NodePtr& target_node() const noexcept { return m_pTargetNode; }

private:
    // ---- the tree window's input, positions in the tree's client pixels
    void MouseDown(int16_t button, platform::ShiftMask shift, POINT at) override;
    void MouseMove(int16_t button, platform::ShiftMask shift, POINT at) override;
    // A release: the drop of a running drag, else a click (Release); a right release is then
    // reported once more (OnContextMenu).
    void MouseUp(int16_t button, platform::ShiftMask shift, POINT at, bool& handled) override;
    void KeyDown(WPARAM key, LPARAM data, bool system, bool& handled) override;
    void CaptureChanged(HWND to) override;
    // A left (1) or right (2) release: the drop, or the click; `handled` when a drop reached the map.
    void Release(int16_t button, POINT at, VARIANT_BOOL& handled);
    void Expand(const NodePtr& node) override;
    void Collapse(const NodePtr& node) override;
    // Renaming a layer in place, and the items' tips (rename.cpp, tips.cpp).
    void BeforeLabelEdit(const NodePtr& node, bool& cancel) override;
    void AfterLabelEdit(const NodePtr& node, std::wstring_view text) override;
    void RenameLayer(const NodePtr& node, std::wstring_view text);
    std::wstring TipText(const NodePtr& node) override;
    // F2: edits the selected layer's name; true when the edit started.
    bool RenameSelected();
    bool LabelCutOff(const NodePtr& node) const;

    static NodePtr HitNode(const com::ComPtr<TreeViewHitTestInfo>& hit);
    // A release that is no drop, and what it does.
    void ClickItem(LONG msg, const com::ComPtr<TreeViewHitTestInfo>& hit);
    void DoImageAction(ImageAction action, const NodePtr& node, const com::ComPtr<TocNode>& record);
    void ToggleVisibility(const NodePtr& node, const com::ComPtr<ILayer>& layer);
    // With mixed group checks: a group that shows unchecked or mixed is shown with every member
    // below it, one that shows checked is hidden alone, another layer toggles; then every check
    // image follows what the layers say.
    void ToggleWithMixedChecks(const NodePtr& node, const com::ComPtr<ILayer>& layer);
    void ChooseSymbol(const NodePtr& node, const com::ComPtr<TocNode>& record);
    void SetRendererSymbol(const com::ComPtr<ISymbol>& symbol, const NodePtr& node);
    void KeepSymbolOfRemovedRow(TocNode& record, const tree::NotedClass& noted);
    // True when the key was the control's.
    bool OnTreeKey(LONG msg, WPARAM key, LPARAM data);
    // Alt with an arrow on a layer item of a control that has a map.
    bool MoveWithKey(WPARAM key, const NodePtr& node, const com::ComPtr<TocNode>& record);

    // Drag and drop (DropLayer: true when the drop reached the map).
    void Drop(VARIANT_BOOL& handled);
    bool DropLayer();
    void DragOver(const com::ComPtr<TreeViewHitTestInfo>& hit, LONG y);
    void ShowDragCursor();
    enum class DragDirection { Up, Down, Neither };
    void ShowDragIcon(DragDirection direction);
    DragDirection DirectionOfDrop();
    LONG TopLevelPosition(ILayer* layer);
    com::ComPtr<ILayer> BottomLayer();  // the map's last layer (the map must be there)
    void SetInsertMark(const NodePtr& node, bool after);
    void RemoveInsertMark();

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

    // Moves of layers for drops and keys (layer_moves.cpp). A Place is where a layer sits or goes:
    // in a group layer at a member position, or in the map (group Nothing) at an index.
    struct Place {
        com::ComPtr<IGroupLayer> group;
        LONG position = -1;
    };
    void MoveIntoGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from,
                       const com::ComPtr<IGroupLayer>& group);
    void MoveOutOfGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group);
    // Moves `layer` from where it sits (its group layer `from`, or the map) to `to`, a place
    // counted among the members as they are before the move. False when nothing moves: the
    // place is the layer's own, or a group layer would go into itself or a group below it.
    bool MoveTo(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from, Place to);
    // True when `inner` is `outer` or one of its members, at any depth.
    static bool Holds(ILayer* outer, IUnknown* inner);
    // The position of a layer in a group layer, or in the map when `group` is Nothing; -1 when
    // it is not there.
    LONG PositionIn(const com::ComPtr<IGroupLayer>& group, const com::ComPtr<ILayer>& layer);
    // The layer just above `layer` in its group layer (or in the map), or Nothing.
    com::ComPtr<ILayer> LayerAbove(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group);
    Place TakeOut(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group);
    // Puts a layer that sits nowhere at a place (see layer_moves.cpp).
    void PutAt(const com::ComPtr<ILayer>& layer, const Place& to);
    void PutBack(const com::ComPtr<ILayer>& layer, const Place& from, const Place& to) noexcept;
    template <class Step>
    void PutBackOnFailure(const com::ComPtr<ILayer>& layer, const Place& from, const Place& to, Step&& step);
    void RedrawAfterChange();

    ControlParts c_;

    // ---- the drag: armed by a press, running while m_bDragging is true
    bool m_bDragging = false;
    NodePtr m_pDownNode;
    NodePtr m_pTargetNode;
    NodePtr m_pDragNode;
    NodePtr m_pInsertMarkNode;
    bool m_bMarkAfter = false;  // the mark is drawn after m_pInsertMarkNode, not before it
    com::ComPtr<ILayer> m_pDragLayer;
    com::ComPtr<ILayer> m_pTargetLayer;
    std::unique_ptr<DragSession> m_pDragSession;
    // The map's top-level layers by position, as found for the items of one tree (every change
    // of the top-level order rebuilds the tree): a drag asks the map once, not on every move.
    struct TopLevelOrder {
        unsigned long tree = ~0ul;  // NodeCollection::clears() when it was read; ~0: never
        std::vector<com::ComPtr<IUnknown>> layers;
        std::unordered_map<IUnknown*, LONG> index;
    } m_topLevel;
    // With DropAtMark: where the drop goes relative to m_pTargetNode, and the direction the
    // cursor shows for it.
    MarkPlace m_markPlace = MarkPlace::Before;
    DragDirection m_markDirection = DragDirection::Neither;
    // The row of the item last under the cursor, while the tree neither scrolls nor is rebuilt:
    // asking the tree costs a search of all its items, a move within one row asks nothing.
    struct Row {
        HTREEITEM item = nullptr;
        unsigned long tree = ~0ul;
        int scroll = 0;
        RECT bounds{};
    } m_row;
};

}  // namespace kelpy::interact
