// rebuild-bench: the time of the control's Reset for maps giving about 1,000, 10,000 and 32,000
// tree items (group items of nine plain layers each, the root and the holder; no legends), against
// the time a bare tree view takes to insert the same items with their texts, images, bold and
// expanded states, one insert message per item. The figure is the ratio.
//
// Two yardsticks: the bare tree as it comes (it lays out every item again after each insert),
// and the bare tree with its layout deferred to the end (WM_SETREDRAW), as the control does.
// Also counted: the tree messages that Reset sends per item.
//
// Usage: rebuild-bench [runs] [--slow]   (runs per figure, at least 5, default 5; --slow adds
// the bare tree laying out after every insert, which takes minutes at 32,000 items and is timed
// once there)
// Needs mapmodel.dll beside it; registers it in the current prefix.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "bench/common/figures.h"
#include "bench/common/map_model.h"
#include "bench/common/timing.h"
#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/control/toc.h"

namespace {

// A map of `groups` group layers holding nine layers each (of a kind without legend).
com::ComPtr<IMap> make_map(int groups) {
    auto map = com::ComPtr<IMap>::create(CLSID_Map);
    com::check(map->put_Name(com::Bstr(L"Benchmark").get()));
    for (int g = 0; g < groups; ++g) {
        auto group = com::ComPtr<IGroupLayer>::create(CLSID_GroupLayer);
        com::check(group->put_Name(com::Bstr(L"Group " + std::to_wstring(g)).get()));
        for (int l = 0; l < 9; ++l) {
            auto layer = com::ComPtr<ILayer>::create(CLSID_PlainLayer);
            com::check(layer->put_Name(com::Bstr(L"Layer " + std::to_wstring(g) + L"." + std::to_wstring(l)).get()));
            com::check(layer->put_Visible(l % 3 ? VARIANT_TRUE : VARIANT_FALSE));
            com::check(group->Add(layer.get()));
        }
        com::check(map->AddLayer(group.as<ILayer>().get()));
    }
    return map;
}

// One item for the bare tree: its text, parent (index, -1 for the top level), image and states.
struct Item {
    std::wstring text;
    int parent;
    int image;
    UINT state;
};

// The control's items, read back from its tree in the order of adding.
std::vector<Item> items_of(HWND tree) {
    std::vector<Item> items;
    std::vector<std::pair<HTREEITEM, int>> stack;
    auto walk = [&](auto& self, HTREEITEM first, int parent) -> void {
        for (HTREEITEM h = first; h; h = TreeView_GetNextSibling(tree, h)) {
            wchar_t text[256] = {};
            TVITEMW tv{};
            tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_STATE;
            tv.hItem = h;
            tv.pszText = text;
            tv.cchTextMax = 256;
            tv.stateMask = TVIS_BOLD | TVIS_EXPANDED;
            TreeView_GetItem(tree, &tv);
            items.push_back({text, parent, tv.iImage, tv.state & (TVIS_BOLD | TVIS_EXPANDED)});
            self(self, TreeView_GetChild(tree, h), int(items.size()) - 1);
        }
    };
    walk(walk, TreeView_GetRoot(tree), -1);
    return items;
}

// Fills a bare tree view: removes what it holds (when `clear`), then adds every item with one
// insert message.
void fill_bare(HWND tree, const std::vector<Item>& items, bool defer_layout, bool clear = true) {
    if (defer_layout) SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    if (clear) SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    std::vector<HTREEITEM> handles;
    handles.reserve(items.size());
    for (const Item& item : items) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = item.parent < 0 ? TVI_ROOT : handles[size_t(item.parent)];
        insert.hInsertAfter = TVI_LAST;
        insert.itemex.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
        insert.itemex.pszText = const_cast<wchar_t*>(item.text.c_str());
        insert.itemex.iImage = insert.itemex.iSelectedImage = item.image;
        insert.itemex.state = item.state;
        insert.itemex.stateMask = TVIS_BOLD | TVIS_EXPANDED;
        handles.push_back(reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
    }
    if (defer_layout) SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
}

// Counts the messages that reach one window (through a thread hook on sent messages).
struct MessageCounter {
    static inline HWND window = nullptr;
    static inline long tree_messages = 0;
    HHOOK hook;
    explicit MessageCounter(HWND w) {
        window = w;
        tree_messages = 0;
        hook = SetWindowsHookExW(WH_CALLWNDPROC, proc, nullptr, GetCurrentThreadId());
    }
    ~MessageCounter() { UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK proc(int code, WPARAM wp, LPARAM lp) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && m->hwnd == window && m->message >= TV_FIRST && m->message < TV_FIRST + 0x100)
            ++tree_messages;
        return CallNextHookEx(nullptr, code, wp, lp);
    }
};


}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    bool slow = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--slow") slow = true;
        else runs = std::max(5, std::atoi(argv[i]));
    }
    if (FAILED(OleInitialize(nullptr))) return 2;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    try {
        if (!bench::use_map_model()) com::raise(E_FAIL, L"mapmodel.dll cannot be registered from beside the benchmark");
        std::printf("Milliseconds (median (min-max) of %d) for the same items: the control's Reset into an empty\n"
                    "tree (build) and over a full one (rebuild); the bare tree inserting them with its layout\n"
                    "deferred to the end (deferred; its rebuild deletes first)%s; tree messages per item in a Reset.\n\n",
                    runs, slow ? ", or laying out after every insert (plain)" : "");
        std::printf("%-7s %-17s %-17s %-17s %-17s %-9s %-9s %-17s %-17s %-5s\n", "items", "build", "rebuild", "deferred",
                    "def-rebuild", "plain", "msg/item", "build/deferred", "rebuild/deferred", "same");
        bench::Figures figures;
        for (int groups : {100, 1000, 3200}) {
            auto map = make_map(groups);
            auto toc = kelpy::Toc::create();
            RECT bounds{0, 0, 300, 600};
            toc->CreateControlWindow(nullptr, bounds);
            toc->StartRunTime();
            IMap* argument = map.get();
            com::check(toc->Initialize(&argument));
            HWND tree = GetWindow(toc->hWnd(), GW_CHILD);
            const std::vector<Item> items = items_of(tree);

            // The bare tree view beside it, with the control's image list and styles.
            HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 600, nullptr,
                                         nullptr, nullptr, nullptr);
            HWND bare = CreateWindowExW(0, WC_TREEVIEWW, L"", GetWindowLongW(tree, GWL_STYLE), 0, 0, 300, 600, frame,
                                        nullptr, nullptr, nullptr);
            SendMessageW(bare, TVM_SETIMAGELIST, TVSIL_NORMAL, SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
            auto empty_bare = [&] { SendMessageW(bare, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); };
            auto empty_control = [&] {
                IMap* none = nullptr;
                com::check(toc->Initialize(&none));
            };

            // Into empty trees: each side is emptied before it is timed.
            const bench::Comparison build = bench::compare(
                runs,
                [&] {
                    empty_control();
                    return bench::seconds_of([&] {
                        IMap* m = map.get();
                        com::check(toc->Initialize(&m));
                    });
                },
                [&] {
                    empty_bare();
                    return bench::seconds_of([&] { fill_bare(bare, items, true, false); });
                });
            // Over full trees.
            const bench::Comparison rebuild = bench::compare(
                runs, [&] { return bench::seconds_of([&] { com::check(toc->Reset()); }); },
                [&] { return bench::seconds_of([&] { fill_bare(bare, items, true); }); });
            double plain = 0;
            if (slow) {
                empty_bare();
                plain = bench::seconds_of([&] { fill_bare(bare, items, false, false); });
            }
            long messages = 0;
            {
                MessageCounter counter(tree);
                com::check(toc->Reset());
                messages = MessageCounter::tree_messages;
            }
            std::vector<Item> bare_items = items_of(bare);
            const bool same = bare_items.size() == items.size() &&
                              std::equal(items.begin(), items.end(), bare_items.begin(), [](const Item& a, const Item& b) {
                                  return a.text == b.text && a.parent == b.parent && a.image == b.image && a.state == b.state;
                              });
            char plain_text[32] = "-";
            if (slow) std::snprintf(plain_text, sizeof plain_text, "%.0f", 1000 * plain);
            std::printf("%-7zu %-17s %-17s %-17s %-17s %-9s %-9.2f %-17s %-17s %-5s\n", items.size(),
                        build.subject.summary(1, 1000).c_str(), rebuild.subject.summary(1, 1000).c_str(),
                        build.yardstick.summary(1, 1000).c_str(), rebuild.yardstick.summary(1, 1000).c_str(), plain_text,
                        double(messages) / double(items.size()), build.ratio.summary().c_str(),
                        rebuild.ratio.summary().c_str(), same ? "yes" : "NO");
            std::fflush(stdout);
            figures.ratio("reset-layers-" + bench::size_name(long(items.size())), rebuild.ratio, 1.5);
            DestroyWindow(frame);
            toc->DestroyControlWindow();
        }
        figures.print();
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "rebuild-bench: %s\n", e.what());
        return 1;
    }
    OleUninitialize();
    return 0;
}
