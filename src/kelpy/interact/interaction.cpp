// The interaction's entry points: each hands its work to the part that does it. Positions come
// and go in the tree's client pixels.
#include <windowsx.h>
#include "kelpy/interact/interaction.h"
#include "kelpy/interact/hit_testing.h"
#include "kelpy/interact/tree_layout.h"
#include "kelpy/platform/handler.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy::interact {

Interaction::Interaction(const com::ComPtr<IMap>& map, com::ComPtr<ILayer>& selectedLayer, const HWND& window,
                         platform::TreeView& tree, platform::Timer& timer, tree::TreeBuilder& builder,
                         draw::ItemPainter& painter, Events& events, const Options& options) noexcept
    : tree_(tree),
      builder_(builder),
      window_(window),
      moves_(map),
      redraw_(map, selectedLayer, events),
      drags_({.tree = tree,
              .timer = timer,
              .map = map,
              .selectedLayer = selectedLayer,
              .moves = moves_,
              .builder = builder,
              .events = events,
              .redraw = redraw_,
              .options = options}),
      clicks_({.tree = tree,
               .window = window,
               .map = map,
               .selectedLayer = selectedLayer,
               .builder = builder,
               .painter = painter,
               .events = events,
               .redraw = redraw_,
               .options = options}),
      key_moves_(map, selectedLayer, moves_, builder, redraw_, options),
      rename_(tree, builder, map, selectedLayer, events, options),
      keys_({.tree = tree,
             .map = map,
             .selectedLayer = selectedLayer,
             .events = events,
             .options = options,
             .clicks = clicks_,
             .moves = key_moves_,
             .rename = rename_}),
      tips_(tree, options) {}

// ---- the tree window's input

void Interaction::MouseDown(int16_t button, platform::ShiftMask, POINT p) { drags_.Press(button, HitTest(p.x, p.y)); }

void Interaction::MouseMove(int16_t button, platform::ShiftMask, POINT p) {
    drags_.Move(button, HitTest(p.x, p.y), p.y);
}

// A left or right release drops or clicks (Release); the right one then reports the item under
// it a second time, unless the drop kept it from the tree.
void Interaction::MouseUp(int16_t button, platform::ShiftMask, POINT p, bool& handled) {
    if (button == 1 || button == 2) {
        VARIANT_BOOL dropped = VARIANT_FALSE;
        const HRESULT hr = platform::run_handler(L"the release", [&] { Release(button, p, dropped); });
        handled = dropped != VARIANT_FALSE;
        if (handled || hr == platform::E_ACTION_ABANDONED) return;
    }
    if (button == 2) clicks_.Click(button, HitTest(p.x, p.y));
}

void Interaction::Release(int16_t button, POINT at, VARIANT_BOOL& handled) {
    com::ComPtr<TreeViewHitTestInfo> hit = HitTest(at.x, at.y);
    if (dragging()) drags_.Drop(handled);  // either button's release ends a drag
    else clicks_.Click(button, hit);
}

// A key is the mouse's while a drag runs.
void Interaction::KeyDown(WPARAM key, LPARAM data, bool system, bool& handled) {
    if (!dragging()) keys_.KeyDown(key, data, system, handled);
}

// Another window took the mouse (a pop-up, a modal dialog, a switch to another program): a
// running drag ends at once, as a drop that moves nothing would, and is not armed again (the
// next move with the button still held would start it anew).
void Interaction::CaptureChanged(HWND to) {
    if (dragging() && to != tree_.hWnd()) EndDrag();
}

void Interaction::Expand(const NodePtr& node) { builder_.RememberExpanded(node); }

void Interaction::Collapse(const NodePtr& node) { builder_.RememberExpanded(node); }

void Interaction::BeforeLabelEdit(const NodePtr& node, bool& cancel) { rename_.BeforeLabelEdit(node, cancel, dragging()); }

void Interaction::AfterLabelEdit(const NodePtr& node, std::wstring_view text) { rename_.AfterLabelEdit(node, text); }

std::wstring Interaction::TipText(const NodePtr& node) { return tips_.TipText(node); }

// ---- the messages a host offers (_TOC.TreeWndProc)

bool Interaction::Wants(LONG msg) noexcept {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN ||
           msg == WM_CAPTURECHANGED;
}

void Interaction::TreeWndProc(LONG msg, LONG_PTR wp, LONG_PTR lp, VARIANT_BOOL& handled) {
    switch (msg) {
    case WM_CAPTURECHANGED:
        return CaptureChanged(reinterpret_cast<HWND>(lp));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // A key that was taken is kept from the tree, also when its action failed.
        bool taken = false;
        try {
            KeyDown(WPARAM(wp), lp, msg == WM_SYSKEYDOWN, taken);
        } catch (...) {
            if (taken) handled = VARIANT_TRUE;
            throw;
        }
        if (taken) handled = VARIANT_TRUE;
        return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        // The position in the tree's client pixels, as signed 16-bit values.
        return Release(msg == WM_LBUTTONUP ? 1 : 2, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, handled);
    default:
        return;
    }
}

// ---- the drag

void Interaction::tToc_Timer() { drags_.Tick(); }

void Interaction::EndDrag() noexcept { drags_.End(); }

bool Interaction::dragging() const noexcept { return drags_.dragging(); }

const com::ComPtr<ILayer>& Interaction::target_layer() const noexcept { return drags_.target_layer(); }

const NodePtr& Interaction::target_node() const noexcept { return drags_.target_node(); }

// ---- the host's questions

com::ComPtr<TreeViewHitTestInfo> Interaction::HitTest(LONG x, LONG y) { return HitTestTree(tree_, x, y); }

com::ComPtr<TocItemInfo> Interaction::ItemAt(LONG x, LONG y) { return ItemAtPoint(tree_, window_, x, y); }

void Interaction::ActOnImage(const NodePtr& node) { clicks_.ActOnImage(node); }

void Interaction::RefreshTree() { RelayoutTree(tree_, builder_); }

LONG Interaction::GetLayerIndex(const com::ComPtr<ILayer>& layer) { return moves_.IndexInMap(layer); }

void Interaction::RefreshMap() { redraw_.Refresh(); }

}  // namespace kelpy::interact
