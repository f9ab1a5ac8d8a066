#include "kelpy/draw/label_rects.h"
#include "kelpy/platform/item_rect.h"

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
        const auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
        const std::optional<RECT> laid_out = platform::ItemRect(tree, item, platform::ItemPart::Label);
        if (!laid_out) return RECT{};
        const RECT& label = *laid_out;
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
