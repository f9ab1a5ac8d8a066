#include "kelpy/platform/item_rect.h"
#include <cstring>

namespace kelpy::platform {

std::optional<RECT> ItemRect(HWND tree, HTREEITEM item, ItemPart part) {
    RECT r{};
    std::memcpy(&r, &item, sizeof item);
    if (!SendMessageW(tree, TVM_GETITEMRECT, part == ItemPart::Label, reinterpret_cast<LPARAM>(&r))) return std::nullopt;
    return r;
}

}  // namespace kelpy::platform
