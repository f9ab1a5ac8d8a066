// The interaction's entry points: each hands its work to the part that does it. Positions come
// and go in the tree's client pixels.
#include "kelpy/interact/interaction.h"
#include "kelpy/interact/hit_testing.h"
#include "kelpy/interact/tree_layout.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy::interact {

Interaction::Interaction(const ControlParts& parts) noexcept
    : c_(parts),
      moves_(c_.map),
      redraw_(c_.map, c_.selectedLayer, c_.events),
      drags_({.tree = c_.tree,
              .timer = c_.timer,
              .map = c_.map,
              .selectedLayer = c_.selectedLayer,
              .moves = moves_,
              .builder = c_.builder,
              .events = c_.events,
              .redraw = redraw_,
              .options = c_.options}),
      key_moves_(c_.map, c_.selectedLayer, moves_, c_.builder, redraw_, c_.options),
      rename_(c_.tree, c_.builder, c_.map, c_.selectedLayer, c_.events, c_.options),
      tips_(c_.tree, c_.options) {}

// ---- the tree's events

void Interaction::MouseDown(int16_t button, platform::ShiftMask, POINT p) { drags_.Press(button, HitTest(p.x, p.y)); }

void Interaction::MouseMove(int16_t button, platform::ShiftMask, POINT p) { drags_.Move(button, HitTest(p.x, p.y), p.y); }

void Interaction::Expand(const NodePtr& node) { c_.builder.RememberExpanded(node); }

void Interaction::Collapse(const NodePtr& node) { c_.builder.RememberExpanded(node); }

void Interaction::BeforeLabelEdit(const NodePtr& node, bool& cancel) { rename_.BeforeLabelEdit(node, cancel, dragging()); }

void Interaction::AfterLabelEdit(const NodePtr& node, std::wstring_view text) { rename_.AfterLabelEdit(node, text); }

std::wstring Interaction::TipText(const NodePtr& node) { return tips_.TipText(node); }

// ---- the drag

void Interaction::tToc_Timer() { drags_.Tick(); }

void Interaction::EndDrag() noexcept { drags_.End(); }

void Interaction::Drop(VARIANT_BOOL& handled) { drags_.Drop(handled); }

bool Interaction::dragging() const noexcept { return drags_.dragging(); }

const com::ComPtr<ILayer>& Interaction::target_layer() const noexcept { return drags_.target_layer(); }

const NodePtr& Interaction::target_node() const noexcept { return drags_.target_node(); }

// ---- the host's questions

com::ComPtr<TreeViewHitTestInfo> Interaction::HitTest(LONG x, LONG y) { return HitTestTree(c_.tree, x, y); }

com::ComPtr<TocItemInfo> Interaction::ItemAt(LONG x, LONG y) { return ItemAtPoint(c_.tree, c_.window, x, y); }

NodePtr Interaction::HitNode(const com::ComPtr<TreeViewHitTestInfo>& hit) { return platform::Node::From(hit->Node.get()); }

void Interaction::RefreshTree() { RelayoutTree(c_.tree, c_.builder); }

LONG Interaction::GetLayerIndex(const com::ComPtr<ILayer>& layer) { return moves_.IndexInMap(layer); }

void Interaction::RefreshMap() { redraw_.Refresh(); }

void Interaction::RedrawAfterChange() { redraw_.AfterChange(); }

}  // namespace kelpy::interact
