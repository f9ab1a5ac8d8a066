// The user actions the snapshot tool performs on the hosted control, each through a person's
// mouse (user_input.h), one after another:
//
//   click-check ITEM          a click on the item's check image
//   drag ITEM TARGET [above|below]
//                             a press on the item's label, moves with the button held, and the
//                             release on the target's label; with above or below, on the upper
//                             or the lower half of the target's row, the halves that tell where
//                             the control's insert mark goes when it drops at the mark
//   pick-symbol ITEM #RRGGBB  a click on the swatch of a legend row (of the layer's first row
//                             with a swatch when ITEM is a layer), and the symbol selector
//                             confirms the symbol in that colour
//
// ITEM and TARGET name items by their texts: "Parks" is the first item of that text, "Land
// use/Parks" the item Parks under Land use. A text with blanks goes in single quotes. The items
// are found as a person finds them, in what the tree window shows (tree_reader.h).
#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <vector>
#include "scripted_selector.h"

namespace snapshot {

struct UserAction {
    enum class Kind { ClickCheck, Drag, PickSymbol } kind;
    enum class Half { Middle, Upper, Lower };
    std::wstring item, target;  // target: of a drag
    Half half = Half::Middle;   // of the target's row, where a drag ends
    COLORREF color = 0;         // of a picked symbol
    std::wstring text;          // as written
};

// The action written in `text`, or nothing when it is not one.
std::optional<UserAction> parse_action(const std::wstring& text);

// Performs an action on the control through its tree window `tree`, answering the symbol
// selector through `selector`. An item that the tree does not show is an error that names it.
void perform(const UserAction& action, HWND tree, host::ScriptedSelector& selector);

}  // namespace snapshot
