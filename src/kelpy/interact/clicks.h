// ItemClicks: what a release on an item does when no drag runs, and the same without the mouse.
// A left release on an item's image acts on it: a layer's or group layer's check box toggles its
// visibility (with mixed group checks, a group that does not show checked is shown whole), a
// legend row's swatch opens the symbol selector when its kind lets a person choose one. A right
// release reports the item to the host (OnContextMenu).
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "kelpy/interact/events.h"
#include "kelpy/interact/map_redraw.h"
#include "kelpy/model/options.h"
#include "kelpy/model/records.h"
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

// What clicks work with.
struct ClickParts {
    platform::TreeView& tree;
    const HWND& window;                   // the control's window: the selector is modal over its top level
    const com::ComPtr<IMap>& map;         // rebuilt from when a chosen symbol's row went meanwhile
    com::ComPtr<ILayer>& selectedLayer;   // a toggle without the mouse selects its layer
    tree::TreeBuilder& builder;
    draw::ItemPainter& painter;           // measures a row whose symbol changed
    Events& events;
    MapRedraw& redraw;
    const Options& options;
};

class ItemClicks {
public:
    explicit ItemClicks(const ClickParts& parts) noexcept : c_(parts) {}

    // A left (1) or right (2) release that is no drop, over `hit`.
    void Click(int16_t button, const com::ComPtr<TreeViewHitTestInfo>& hit);

    // What a click on an item's image does: a layer's or group layer's check box toggles its
    // visibility, a legend row's swatch chooses its symbol when its kind lets a person choose
    // one; the root, headings, the holder and fixed swatches do nothing.
    enum class ImageAction { None, Toggle, ChooseSymbol };
    static ImageAction ActionOf(const TocNode& record);
    // Does it without the mouse (a key, a screen reader's default action), as the click does;
    // a toggled layer becomes the selected layer, as the click's press makes it.
    void ActOnImage(const NodePtr& node);

private:
    void DoImageAction(ImageAction action, const NodePtr& node, const com::ComPtr<TocNode>& record);
    void ToggleVisibility(const NodePtr& node, const com::ComPtr<ILayer>& layer);
    // With mixed group checks: a group that shows unchecked or mixed is shown with every member
    // below it, one that shows checked is hidden alone, another layer toggles; then every check
    // image follows what the layers say.
    void ToggleWithMixedChecks(const NodePtr& node, const com::ComPtr<ILayer>& layer);
    void ChooseSymbol(const NodePtr& node, const com::ComPtr<TocNode>& record);
    void KeepSymbolOfRemovedRow(TocNode& record, const tree::NotedClass& noted);

    ClickParts c_;
};

}  // namespace kelpy::interact
