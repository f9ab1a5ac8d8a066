// The tree's keys, for people who do not use the mouse: Space toggles the selected layer or group
// layer as a click on its check image does; Enter on a legend row chooses its symbol as a click
// on its swatch does; Alt+Up and Alt+Down move the selected top-level layer one place up or down
// in the map, Alt+Right moves it into the group layer just above it and Alt+Left moves a group's
// member out, to the place just above its group (the same moves, checks, rebuild and redraw as a
// drop). With nested groups shown, Alt+Right works at any depth and Alt+Left takes a member one
// level out, to the place right after the group it left; Shift+F10 and the context-menu key report
// the selected item as a right-button release does (OnContextMenu); F2 edits the selected layer's
// name in place, when renaming is on (rename.cpp). The layer a key acts on becomes the selected
// layer, as the press of the mouse's click, drag or right click would make it; Enter on a legend
// row leaves it as it is.
#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/interact/key_moves.h"
#include "kelpy/interact/keys.h"
#include "kelpy/interact/one_rebuild.h"
#include "kelpy/tree/tree_builder.h"
#include "kelpy/model/items.h"

namespace kelpy::interact {

namespace {
bool held(int key) noexcept { return GetKeyState(key) < 0; }
}  // namespace

void TreeKeys::KeyDown(WPARAM key, LPARAM data, bool system, bool& handled) {
    // A key the control acts on is not the tree's too. The system still sees a system key (Alt
    // with an arrow): it must know that a key came between Alt's press and release, or the
    // release would open the host's menu. A key whose action failed was the control's all the
    // same.
    auto taken = [&] {
        handled = true;
        if (system && (data & (1L << 29))) DefWindowProcW(c_.tree.window(), WM_SYSKEYDOWN, key, data);
    };
    try {
        if (!Act(system, key, data)) return;
    } catch (const ActionAbandoned&) {
        throw;
    } catch (...) {
        taken();
        throw;
    }
    taken();
}

bool TreeKeys::Act(bool system, WPARAM key, LPARAM data) {
    // Alt with a key comes as a system key; Alt's bit of the key data says so.
    const bool move = system && (data & (1L << 29)) &&
                      (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT);
    const bool context = key == VK_APPS || (key == VK_F10 && held(VK_SHIFT));
    const bool plain = !system && !held(VK_CONTROL) && !held(VK_MENU);
    if (plain && key == VK_F2 && c_.options.allowRename) return c_.rename.RenameSelected();
    if (!context && !move && !(plain && (key == VK_SPACE || key == VK_RETURN))) return false;

    NodePtr node = c_.tree.Nodes().FromHandle(c_.tree.caret());
    if (!node) return false;
    com::ComPtr<TocNode> record = RecordOf(node);
    com::ComPtr<ILayer> layer = record->Layer;
    const ::TOCNodeType type = record->TOCNodeType;
    const bool layer_item = type == ::TOCNodeType::Layer || type == ::TOCNodeType::GroupLayer;

    if (context) {
        // As a right-button press would, the key makes the item's layer the selected one (the
        // host's menu acts on SelectedLayer).
        c_.selectedLayer = layer;
        ::TOCNodeType copy = type;
        c_.events.RaiseOnContextMenu(copy);
        return true;
    }
    if (key == VK_SPACE || key == VK_RETURN) {
        using Action = ItemClicks::ImageAction;
        const Action wanted = key == VK_SPACE ? Action::Toggle : Action::ChooseSymbol;
        if (ItemClicks::ActionOf(*record.get()) != wanted) return false;
        c_.clicks.ActOnImage(node);
        return true;
    }

    // Alt with an arrow: the moves of a layer item (on other items the tree's own keys).
    if (!layer_item || !layer) return false;
    if (!c_.map) return true;
    ReportFailure(c_.events, L"move", [&] { c_.moves.Move(key, node, record); });
    return true;
}

// The moved layer's item is selected after the rebuild, and its layer is the one redrawn; the
// tree is rebuilt once after a move that moved a layer, and the map redrawn after any.
void KeyMoves::Move(WPARAM key, const NodePtr& node, const com::ComPtr<TocNode>& record) {
    const com::ComPtr<ILayer> layer = record->Layer;
    const com::ComPtr<IGroupLayer> group = record->GroupLayer;
    auto move = [&](auto&& step) {
        com::Bstr name;
        com::check(layer->get_Name(name.put()));
        builder_.SelectAfterRebuild(name.view());
        selected_ = layer;
        MoveRebuildingOnce(builder_, map_, step);
        redraw_.AfterChange();
    };
    if (key == VK_LEFT) {
        if (!group) return;
        if (options_.showNestedGroups) {
            // One level out, right after the group it left (in that group's own container, which
            // the group's item records).
            const com::ComPtr<IGroupLayer> outer = RecordOf(node->Parent())->GroupLayer;
            const LONG group_at = moves_.PositionIn(outer, group.as<ILayer>());
            if (group_at < 0) return;
            move([&] { return moves_.MoveTo(layer, group, {outer, group_at + 1}); });
        } else {
            // To the place just above its group.
            move([&] {
                moves_.OutOfGroup(layer, group, [&] { return moves_.IndexInMap(group.as<ILayer>()) - 1; });
                return true;
            });
        }
        return;
    }
    if (key == VK_RIGHT && (!group || options_.showNestedGroups)) {
        // Into the group layer just above, at its end: at the top level, or at any depth when
        // nested groups are shown.
        const com::ComPtr<ILayer> above = moves_.LayerAbove(layer, group);
        const auto into = above ? above.query<IGroupLayer>() : nullptr;
        if (!into) return;
        move([&] { return moves_.IntoGroup(layer, group, into); });
        return;
    }
    if (group || (key != VK_UP && key != VK_DOWN)) return;  // the other moves are for top-level layers
    const LONG index = moves_.IndexInMap(layer);
    LONG count = 0;
    com::check(map_->get_LayerCount(&count));
    const LONG to = key == VK_UP ? index - 1 : index + 1;
    if (index < 0 || to < 0 || to >= count) return;
    move([&] {
        moves_.MoveInMap(layer, to);
        return true;
    });
}

}  // namespace kelpy::interact
