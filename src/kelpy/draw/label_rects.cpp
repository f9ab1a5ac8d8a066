#include "kelpy/draw/label_rects.h"
#include <cstring>

namespace kelpy::draw {

LONG LabelRects::text_width(HDC dc, std::wstring_view text) {
    SIZE size{};
    if (!text.empty()) GetTextExtentPoint32W(dc, text.data(), int(text.size()), &size);
    return size.cx;
}

RECT LabelRects::Label(HWND tree, const NMTVCUSTOMDRAW& draw, std::wstring_view text) {
    const RECT& row = draw.nmcd.rc;
    const LONG width = text_width(draw.nmcd.hdc, text);
    if (!known_) {
        RECT label{};
        const auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
        std::memcpy(&label, &item, sizeof item);  // the message reads the item from the rectangle
        if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label))) return RECT{};
        indent_ = LONG(SendMessageW(tree, TVM_GETINDENT, 0, 0));
        left_ = label.left - row.left - draw.iLevel * indent_;
        top_ = label.top - row.top;
        bottom_ = label.bottom - row.bottom;
        padding_ = label.right - label.left - width;
        known_ = true;
        return label;
    }
    const LONG left = row.left + left_ + draw.iLevel * indent_;
    return {left, row.top + top_, left + width + padding_, row.bottom + bottom_};
}

}  // namespace kelpy::draw
