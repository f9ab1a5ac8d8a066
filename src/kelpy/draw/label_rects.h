// LabelRects: the label rectangles (text only) of the legend rows a paint of the tree draws,
// found from what the custom-draw notification of a row carries (the row's rectangle and its
// level) instead of asking the tree for each row (TVM_GETITEMRECT makes the tree search its
// items for the handle). In each paint the first legend row's label is asked of the tree, and
// the labels of the others are placed by it: the left edge moves by the tree's indent per
// level, the top and bottom keep their distance to the row's, and the width is the text's
// width with the same padding around it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string_view>

namespace kelpy::draw {

class LabelRects {
public:
    // A paint of the tree starts: what the last paint learnt is forgotten (the tree may have
    // scrolled, changed its indent, font or images since).
    void PaintStarts() noexcept { known_ = false; }
    // The label rectangle of the row being drawn, whose text is `text`, in the tree's client
    // pixels.
    RECT Label(HWND tree, const NMTVCUSTOMDRAW& draw, std::wstring_view text);

private:
    static LONG text_width(HDC dc, std::wstring_view text);

    bool known_ = false;
    LONG indent_ = 0;
    LONG left_ = 0;     // the label's left edge at level 0, from the row's left edge
    LONG top_ = 0;      // the label's top and bottom, from the row's
    LONG bottom_ = 0;
    LONG padding_ = 0;  // the label's width beyond its text's
};

}  // namespace kelpy::draw
