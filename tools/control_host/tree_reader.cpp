#include "tree_reader.h"
#include <cstring>
#include <iterator>
#include "win/tree_walk.h"

namespace host {

NativeItem read_item(HWND tree, HTREEITEM item) {
    wchar_t text[512] = {};
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN;
    tv.hItem = item;
    tv.stateMask = ~0u;
    tv.pszText = text;
    tv.cchTextMax = 512;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    NativeItem n;
    n.handle = item;
    n.parent = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
    n.text = text;
    n.image = tv.iImage;
    n.selected_image = tv.iSelectedImage;
    n.state = tv.state;
    n.has_children =
        SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)) != 0;
    return n;
}

std::vector<NativeItem> read_items(HWND tree) {
    std::vector<NativeItem> out;
    win::walk_items(tree, [&](HTREEITEM item, int depth) {
        out.push_back(read_item(tree, item));
        out.back().depth = depth;
    });
    return out;
}

HTREEITEM selected_item(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

bool has_visible_style(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT item_rect(HWND tree, HTREEITEM item, bool text_only) {
    // The request names the item in the rectangle's first field(s).
    RECT r{};
    std::memcpy(&r, &item, sizeof item);
    if (!SendMessageW(tree, TVM_GETITEMRECT, text_only ? TRUE : FALSE, reinterpret_cast<LPARAM>(&r))) return RECT{};
    return r;
}

std::wstring image_key(int index) {
    static const wchar_t* const keys[] = {L"plus", L"minus", L"disconnected", L"checked", L"unchecked", L"root", L"mixed"};
    if (index < 0 || index >= int(std::size(keys))) return L"";
    return keys[index];
}

bool stands_for_layer(const NativeItem& item) {
    const std::wstring key = image_key(item.image);
    return key == L"checked" || key == L"unchecked" || key == L"mixed" || key == L"disconnected";
}

std::wstring outline(HWND tree, std::wstring_view no_text) {
    std::wstring s;
    for (const NativeItem& n : read_items(tree)) {
        s.append(size_t(n.depth) * 2, L' ');
        s += n.text.empty() ? no_text : std::wstring_view(n.text);
        if (const std::wstring key = image_key(n.image); !key.empty()) s += L" [" + key + L"]";
        if (n.bold()) s += L" bold";
        if (n.has_children) s += n.expanded() ? L" expanded" : L" collapsed";
        s += L"\n";
    }
    return s;
}

}  // namespace host
