// Interaction: what a person does with the tree. It hears the tree window's input as typed calls
// in the tree's client pixels (platform/tree_view.h), or through TreeWndProc from a host, and the
// tree's expand, label-edit and tip events: clicks toggle a layer's visibility and pick new
// symbols for legend rows, right clicks ask the host for its menu, keys do the same without a
// mouse, layers are dragged and dropped to a new place in the drawing order (with DropAtMark,
// exactly where the insert mark shows: drop_at_mark.cpp), layers are renamed in place, and the
// map is redrawn after each change.
//
// It is a facade: its entry points (the tree window's calls, TreeWndProc, the timer, the host's
// questions) are short forwards to the parts (interaction.cpp), each of which is given only the
// collaborators it uses: the layer moves (the map alone: layer_moves.h), the drags
// (layer_drag.h), the clicks (clicks.h), the keys (keys.h) with the moves by key (key_moves.h),
// the redraw of the map (map_redraw.h), the rename (rename.h) and the tips (tips.h).
#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include "com/ptr.h"
#include "kelpy/interact/clicks.h"
#include "kelpy/interact/events.h"
#include "kelpy/interact/key_moves.h"
#include "kelpy/interact/keys.h"
#include "kelpy/interact/layer_drag.h"
#include "kelpy/interact/layer_moves.h"
#include "kelpy/interact/map_redraw.h"
#include "kelpy/interact/rename.h"
#include "kelpy/interact/tips.h"
#include "kelpy/model/options.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/timer.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::tree {
class TreeBuilder;
}
namespace kelpy::draw {
class ItemPainter;
}

namespace kelpy::interact {

using platform::NodePtr;

class Interaction final : public platform::TreeViewEvents {
public:
    // The control's map, selected layer, window (null without one), tree, drag timer, builder,
    // painter, events and options, handed on to the parts that use them.
    Interaction(const com::ComPtr<IMap>& map, com::ComPtr<ILayer>& selectedLayer, const HWND& window,
                platform::TreeView& tree, platform::Timer& timer, tree::TreeBuilder& builder,
                draw::ItemPainter& painter, Events& events, const Options& options) noexcept;
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
    void EndDrag() noexcept;

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

    // What a click on an item's image does (clicks.h), and the same without the mouse.
    using ImageAction = ItemClicks::ImageAction;
    static ImageAction ActionOf(const TocNode& record) { return ItemClicks::ActionOf(record); }
    void ActOnImage(const NodePtr& node);

    bool dragging() const noexcept;
    const com::ComPtr<ILayer>& target_layer() const noexcept;
    const NodePtr& target_node() const noexcept;

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
    std::wstring TipText(const NodePtr& node) override;

    platform::TreeView& tree_;
    tree::TreeBuilder& builder_;
    const HWND& window_;
    LayerMoves moves_;
    MapRedraw redraw_;
    DragDrop drags_;
    ItemClicks clicks_;
    KeyMoves key_moves_;
    LayerRename rename_;
    TreeKeys keys_;
    ItemTips tips_;
};

}  // namespace kelpy::interact
