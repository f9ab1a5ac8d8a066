#include "user_actions.h"
#include <cwctype>
#include "com/error.h"
#include "tree_reader.h"
#include "user_input.h"

namespace snapshot {

namespace {

using Items = std::vector<host::NativeItem>;

// Splits on blanks; a part in single quotes keeps its blanks.
std::vector<std::wstring> words(const std::wstring& text) {
    std::vector<std::wstring> out;
    size_t i = 0;
    while (i < text.size()) {
        if (std::iswspace(text[i])) {
            ++i;
            continue;
        }
        std::wstring word;
        if (text[i] == L'\'') {
            const size_t end = text.find(L'\'', i + 1);
            if (end == std::wstring::npos) return {};
            word = text.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            while (i < text.size() && !std::iswspace(text[i])) word += text[i++];
        }
        out.push_back(word);
    }
    return out;
}

std::optional<COLORREF> color_of(const std::wstring& text) {
    if (text.size() != 7 || text[0] != L'#') return std::nullopt;
    for (size_t i = 1; i < 7; ++i)
        if (!std::iswxdigit(text[i])) return std::nullopt;
    const unsigned long rgb = std::stoul(text.substr(1), nullptr, 16);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The position in `items` of the item a path names ("Land use/Parks": Parks under Land use).
size_t find(const Items& items, const std::wstring& path) {
    size_t begin = 0, end = items.size();
    int depth = -1;  // any depth for the first part
    size_t found = items.size();
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find(L'/', start);
        if (slash == std::wstring::npos) slash = path.size();
        const std::wstring part = path.substr(start, slash - start);
        found = items.size();
        for (size_t i = begin; i < end; ++i) {
            if (items[i].text == part && (depth < 0 || items[i].depth == depth)) {
                found = i;
                break;
            }
        }
        if (found == items.size()) com::raise(E_INVALIDARG, L"The tree shows no item \"" + path + L"\"");
        // The next part is a child of this item: within its subtree, one level deeper.
        depth = items[found].depth + 1;
        begin = found + 1;
        end = begin;
        while (end < items.size() && items[end].depth >= depth) ++end;
        start = slash + 1;
    }
    return found;
}

// Whether the item at `i` is a legend row that shows a swatch. From outside the tree, a legend
// row is an item without image under a layer's item. Of a layer's legend, only a heading (the
// field that the layer's classes go by) shows no swatch, and a heading is always the legend's
// first row and names its field; a legend that starts with a swatch (a simple symbol, a chart,
// a colour ramp) starts with a row without text. So every legend row shows a swatch but a first
// row with text. The row's height would not tell (a small swatch fits in a standard row), nor
// would its pixels reliably: the tree draws its dotted connector line into the place of a
// heading's image, a line symbol's swatch is as thin as that line, and pixels need the row
// painted on the screen, which may be pending or may have failed.
bool shows_swatch(const Items& items, size_t i) {
    const host::NativeItem& row = items[i];
    if (row.depth == 0 || !host::image_key(row.image).empty()) return false;
    size_t parent = i - 1;
    while (items[parent].depth >= row.depth) --parent;
    if (!host::stands_for_layer(items[parent])) return false;
    const bool heading = parent == i - 1 && !row.text.empty();
    return !heading;
}

// The item of a pick: a legend row itself, or the first row with a swatch within the item.
size_t swatch_row(const Items& items, size_t at) {
    if (shows_swatch(items, at)) return at;
    for (size_t i = at + 1; i < items.size() && items[i].depth > items[at].depth; ++i)
        if (shows_swatch(items, i)) return i;
    com::raise(E_INVALIDARG, L"The item \"" + items[at].text + L"\" has no legend row with a swatch");
}

// A point on a part of an item's row: in the middle of the row, or a quarter of the row's height
// from its top or its bottom.
POINT point_of(HWND tree, const host::NativeItem& item, UINT flags, UserAction::Half half = UserAction::Half::Middle) {
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item.handle));
    POINT p = host::point_on_item(tree, item.handle, flags);
    if (half == UserAction::Half::Middle) return p;
    const RECT row = host::item_rect(tree, item.handle, false);
    POINT top{0, row.top};
    ClientToScreen(tree, &top);
    const LONG quarter = (row.bottom - row.top) / 4;
    p.y = half == UserAction::Half::Upper ? top.y + quarter : top.y + (row.bottom - row.top) - 1 - quarter;
    return p;
}

}  // namespace

std::optional<UserAction> parse_action(const std::wstring& text) {
    const auto w = words(text);
    if (w.empty()) return std::nullopt;
    UserAction a{UserAction::Kind::ClickCheck, {}, {}, UserAction::Half::Middle, 0, text};
    if (w[0] == L"click-check" && w.size() == 2) {
        a.item = w[1];
    } else if (w[0] == L"drag" && (w.size() == 3 || (w.size() == 4 && (w[3] == L"above" || w[3] == L"below")))) {
        a.kind = UserAction::Kind::Drag;
        a.item = w[1];
        a.target = w[2];
        if (w.size() == 4) a.half = w[3] == L"above" ? UserAction::Half::Upper : UserAction::Half::Lower;
    } else if (w[0] == L"pick-symbol" && w.size() == 3 && color_of(w[2])) {
        a.kind = UserAction::Kind::PickSymbol;
        a.item = w[1];
        a.color = *color_of(w[2]);
    } else {
        return std::nullopt;
    }
    return a;
}

void perform(const UserAction& action, HWND tree, host::ScriptedSelector& selector) {
    const Items items = host::read_items(tree);
    const auto& item = items[find(items, action.item)];
    switch (action.kind) {
    case UserAction::Kind::ClickCheck:
        host::click(point_of(tree, item, TVHT_ONITEMICON));
        break;
    case UserAction::Kind::Drag: {
        const POINT from = point_of(tree, item, TVHT_ONITEMLABEL);
        const auto& target = items[find(items, action.target)];
        host::move_mouse(from);
        host::press(host::Button::Left);
        host::move_mouse({from.x + 1, from.y});  // the drag starts
        host::move_mouse(point_of(tree, target, TVHT_ONITEMLABEL, action.half));
        host::release(host::Button::Left);
        break;
    }
    case UserAction::Kind::PickSymbol:
        selector.answer({.confirm = true, .color = action.color});
        host::click(point_of(tree, items[swatch_row(items, find(items, action.item))], TVHT_ONITEMICON));
        break;
    }
    host::pump_messages();
}

}  // namespace snapshot
