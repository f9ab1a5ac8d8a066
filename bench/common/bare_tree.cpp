#include "bench/common/bare_tree.h"
#include "bench/common/timing.h"
#include "win/tree_walk.h"

namespace bench {

namespace {
constexpr wchar_t frame_class[] = L"KelpyBenchFrame";

void register_frame_class() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = frame_class;
    RegisterClassExW(&wc);
    done = true;
}
}  // namespace

std::vector<TreeItem> read_items(HWND tree) {
    std::vector<TreeItem> items;
    std::vector<int> parents;  // the index of the last item seen at each depth
    win::walk_items(tree, [&](HTREEITEM handle, int depth) {
        wchar_t text[512] = {};
        TVITEMEXW item{};
        item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_INTEGRAL | TVIF_STATE;
        item.hItem = handle;
        item.pszText = text;
        item.cchTextMax = 512;
        item.stateMask = TVIS_EXPANDED;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        const int parent = depth > 0 ? parents[size_t(depth - 1)] : -1;
        items.push_back({text, parent, item.iIntegral > 0 ? item.iIntegral : 1, (item.state & TVIS_EXPANDED) != 0});
        parents.resize(size_t(depth) + 1);
        parents[size_t(depth)] = int(items.size()) - 1;
    });
    return items;
}

Frame::Frame(int width, int height) {
    register_frame_class();
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, WS_POPUP, FALSE, 0);
    window_ = CreateWindowExW(0, frame_class, L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

Frame::~Frame() {
    if (window_) DestroyWindow(window_);
}

BareTree::BareTree(int width, int height) : frame_(width, height) {
    tree_ = CreateWindowExW(0, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_NONEVENHEIGHT,
                            0, 0, width, height, frame_.hWnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
}

void BareTree::Fill(const std::vector<TreeItem>& items) { fill_tree(tree_, items); }

void fill_tree(HWND tree_, const std::vector<TreeItem>& items) {
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    std::vector<HTREEITEM> handles;
    handles.reserve(items.size());
    for (const TreeItem& item : items) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = item.parent < 0 ? TVI_ROOT : handles[size_t(item.parent)];
        insert.hInsertAfter = TVI_LAST;
        insert.itemex.mask = TVIF_TEXT | TVIF_INTEGRAL | TVIF_STATE;
        insert.itemex.pszText = const_cast<wchar_t*>(item.text.c_str());
        insert.itemex.iIntegral = item.rows;
        insert.itemex.state = item.expanded ? TVIS_EXPANDED : 0;
        insert.itemex.stateMask = TVIS_EXPANDED;
        handles.push_back(reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
    }
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
}

void scroll_to_end(HWND tree) { SendMessageW(tree, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0); }

double repaint_seconds(HWND window) {
    Stopwatch watch;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return watch.seconds();
}

}  // namespace bench
