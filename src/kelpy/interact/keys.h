// TreeKeys: the tree's keys, for people who do not use the mouse (keyboard.cpp): the toggles and
// the symbol choice of the clicks, the host's menu, the moves by Alt with an arrow and the rename.
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "kelpy/interact/clicks.h"
#include "kelpy/interact/events.h"
#include "kelpy/interact/key_moves.h"
#include "kelpy/interact/rename.h"
#include "kelpy/model/options.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::interact {

// What the keys work with.
struct KeyParts {
    platform::TreeView& tree;             // its caret is the item a key acts on
    const com::ComPtr<IMap>& map;
    com::ComPtr<ILayer>& selectedLayer;   // the layer a key acts on becomes the selected one
    Events& events;
    const Options& options;
    ItemClicks& clicks;
    KeyMoves& moves;
    LayerRename& rename;
};

class TreeKeys {
public:
    explicit TreeKeys(const KeyParts& parts) noexcept : c_(parts) {}

    // A key press of the tree window (WM_SYSKEYDOWN when `system`); `handled` when the key was
    // the control's, also when its action failed.
    void KeyDown(WPARAM key, LPARAM data, bool system, bool& handled);

private:
    // True when the key was the control's.
    bool Act(bool system, WPARAM key, LPARAM data);

    KeyParts c_;
};

}  // namespace kelpy::interact
