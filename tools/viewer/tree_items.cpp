#include "tree_items.h"
#include <iterator>
#include <vector>
#include "com/bstr.h"
#include "com/error.h"

namespace viewer {

namespace {
HTREEITEM next(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// The position of an item among its siblings (0 for the first).
LONG position(HWND tree, HTREEITEM item) {
    LONG n = 0;
    while ((item = next(tree, item, TVGN_PREVIOUS))) ++n;
    return n;
}

bool named(ILayer* layer, const std::wstring& text) {
    com::Bstr name;
    return layer && SUCCEEDED(layer->get_Name(name.put())) && name.view() == text;
}
}  // namespace

HTREEITEM item_at(HWND tree, POINT screen) {
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(tree, &hit.pt);
    SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return (hit.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT)) ? hit.hItem : nullptr;
}

HTREEITEM selected_item(HWND tree) { return next(tree, nullptr, TVGN_CARET); }

std::wstring item_text(HWND tree, HTREEITEM item) {
    wchar_t text[1024] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = int(std::size(text));
    if (!item || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return {};
    return text;
}

std::optional<LayerPlace> layer_of_item(HWND tree, HTREEITEM item, IMap* map) {
    if (!item || !map) return std::nullopt;
    // The items from the top-level layer's item down to this one.
    std::vector<HTREEITEM> path;
    for (HTREEITEM i = item; i; i = next(tree, i, TVGN_PARENT)) path.insert(path.begin(), i);
    if (path.size() < 2) return std::nullopt;  // the root
    LayerPlace place;
    LONG count = 0;
    com::check(map->get_LayerCount(&count));
    const LONG top = position(tree, path[1]);
    if (top >= count) return std::nullopt;  // the last item
    com::check(map->get_Layer(top, place.layer.put()));
    if (!named(place.layer.get(), item_text(tree, path[1]))) return std::nullopt;
    for (size_t depth = 2; depth < path.size(); ++depth) {
        auto members = place.layer.query<ISubLayers>();
        if (!members) {  // below a layer: its legend rows
            place.legend_row = true;
            break;
        }
        LONG n = 0;
        com::check(members->get_Count(&n));
        const LONG at = position(tree, path[depth]);
        if (at >= n) return std::nullopt;
        com::ComPtr<ILayer> member;
        com::check(members->get_Layer(at, member.put()));
        if (!named(member.get(), item_text(tree, path[depth]))) return std::nullopt;
        place.group = place.layer.as<IGroupLayer>();
        place.layer = member;
    }
    return place;
}

}  // namespace viewer
