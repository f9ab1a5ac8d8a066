// What a screen reader is told of one item of the control's tree: its name, its states, where
// it is on the screen and its default action. Read from what the item shows (its text, its
// image, its expanded state as the tree has it when asked, its row) and from its record.
#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include "kelpy/model/records.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::access {

using platform::NodePtr;

// The item's text; a legend row that shows a swatch without text is named after its layer:
// "<layer> symbol".
std::wstring NameOf(const NodePtr& node);
// The item's STATE_SYSTEM_ flags: focusable and selectable; selected (the tree's selected item)
// and focused (that item while the tree has the keyboard focus); expanded or collapsed (items
// with children); checked or mixed as a layer's or group layer's check box shows (unchecked:
// neither); invisible while it is not shown (a collapsed item holds it, or the tree is hidden),
// and invisible and off screen while its row is scrolled out of the tree's client area.
LONG StateOf(const platform::TreeView& tree, const NodePtr& node);
// The item's row (the whole width of the tree), in screen pixels; none while it is not shown.
std::optional<RECT> ScreenRectOf(const platform::TreeView& tree, const NodePtr& node);
// The name of the default action: "Toggle" for a layer's or group layer's check box, "Change
// symbol" for a legend row whose symbol a person may choose; null for every other item.
const wchar_t* DefaultActionOf(const TocNode& record);

}  // namespace kelpy::access
