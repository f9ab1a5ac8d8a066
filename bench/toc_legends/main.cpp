// toc-legends-bench: what the control's legends cost, against a bare tree view holding the same
// items (texts, nesting, row heights, expanded states; no custom draw, no records).
//  (a) The private bytes of the process per tree item: the control with 32,000 items against
//      the empty control; the bare tree's own figure beside it.
//  (b) Reset of maps giving 1,000 to 32,000 tree items with legends. The first build of a map
//      (Initialize) is shown on its own: it is where symbols are measured for the first time.
//      Beside it, the floor that the platform sets: the same insert messages sent to the
//      control's own tree window (through the window procedures that watch it), against the
//      bare tree.
//  (c) One full repaint of a tree window 600 pixels tall holding about 100 and 32,000 items,
//      with the tree at its top and scrolled to its end; the first repaint after a rebuild is
//      shown on its own.
//  (d) Reset of maps of group layers 8 deep, each group with layers of every legend kind, shown as
//      nested groups: 1,000 and 32,000 tree items, against the bare tree as in (b).
// Usage: toc-legends-bench [runs]   (runs per figure, at least 5; default 5)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include "bench/common/bare_tree.h"
#include "bench/common/figures.h"
#include "bench/common/map_maker.h"
#include "bench/common/memory.h"
#include "bench/common/program.h"
#include "bench/common/timing.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/control/toc.h"

namespace {
constexpr double reset_goal = 1.5;
constexpr double repaint_goal = 1.3;
constexpr double bytes_per_item_goal = 1024;
// The floor is a yardstick, not a figure: fewer runs keep the whole benchmark short.
constexpr int floor_runs = 3;

// The control in a frame of the tree's size, started as at run time, showing a map (or none).
struct HostedControl {
    bench::Frame frame{bench::tree_width, bench::tree_height};
    com::ComPtr<kelpy::Toc> toc = kelpy::Toc::create();

    HostedControl() {
        toc->CreateControlWindow(frame.hWnd(), RECT{0, 0, bench::tree_width, bench::tree_height});
        toc->StartRunTime();
    }
    ~HostedControl() { toc->DestroyControlWindow(); }
    void show(const com::ComPtr<IMap>& map) {
        IMap* m = map.get();
        com::check(toc->Initialize(&m));
    }
    HWND tree() const { return GetWindow(toc->hWnd(), GW_CHILD); }
    long count() const { return long(SendMessageW(tree(), TVM_GETCOUNT, 0, 0)); }
};

// The Reset figures of maps made by `make` at each size, named `name`-<items>; with nested
// groups shown when `nested`.
template <class MakeMap>
void rebuild_figures(int runs, bench::Figures& figures, const char* name, std::initializer_list<int> sizes,
                     MakeMap make, bool nested) {
    std::printf("%7s %10s %20s %20s %20s %20s\n", "items", "first", "control", "bare", "ratio", "floor");
    for (int target : sizes) {
        com::ComPtr<IMap> map = make(target);
        HostedControl host;
        com::check(host.toc->put_ShowNestedGroups(com::vb(nested)));
        const double first = bench::seconds_of([&] { host.show(map); });
        const std::vector<bench::TreeItem> items = bench::read_items(host.tree());
        bench::BareTree bare(bench::tree_width, bench::tree_height);
        const bench::Comparison c = bench::compare(
            runs, [&] { return bench::seconds_of([&] { com::check(host.toc->Reset()); }); },
            [&] { return bench::seconds_of([&] { bare.Fill(items); }); });
        // The floor: the same items inserted straight into the control's tree window. The control
        // rebuilds its own items again afterwards.
        const bench::Comparison floor = bench::compare(
            floor_runs, [&] { return bench::seconds_of([&] { bench::fill_tree(host.tree(), items); }); },
            [&] { return bench::seconds_of([&] { bare.Fill(items); }); });
        com::check(host.toc->Reset());
        std::printf("%7ld %10.1f %20s %20s %20s %20s\n", host.count(), 1000 * first, c.subject.summary(1, 1000).c_str(),
                    c.yardstick.summary(1, 1000).c_str(), c.ratio.summary().c_str(), floor.ratio.summary().c_str());
        std::fflush(stdout);
        figures.ratio(name + bench::size_name(host.count()), c.ratio, reset_goal);
    }
}

void rebuild_figures(int runs, bench::Figures& figures) {
    std::printf("(b) Reset with legends against a bare tree view inserting the same items (ms; median (min-max) of %d;\n"
                "    the floor of %d)\n",
                runs, floor_runs);
    rebuild_figures(runs, figures, "reset-legends-", {1000, 2000, 4000, 8000, 16000, 32000}, bench::make_map, false);
}

void nested_rebuild_figures(int runs, bench::Figures& figures) {
    std::printf("(d) Reset of group layers 8 deep shown as nested groups, against a bare tree view inserting the\n"
                "    same items (ms; median (min-max) of %d; the floor of %d)\n",
                runs, floor_runs);
    rebuild_figures(runs, figures, "reset-nested-", {1000, 32000}, bench::make_nested_map, true);
}

void repaint_figures(int runs, bench::Figures& figures) {
    std::printf("\n(c) One full repaint of a tree window %d pixels tall (ms; median (min-max) of %d)\n", bench::tree_height, runs);
    std::printf("%7s %6s %10s %20s %20s %20s\n", "items", "place", "first", "control", "bare", "ratio");
    for (int target : {100, 32000}) {
        com::ComPtr<IMap> map = bench::make_map(target);
        HostedControl host;
        host.show(map);
        bench::BareTree bare(bench::tree_width, bench::tree_height);
        bare.Fill(bench::read_items(host.tree()));
        for (bool end : {false, true}) {
            if (end) {
                bench::scroll_to_end(host.tree());
                bench::scroll_to_end(bare.hWnd());
            }
            com::check(host.toc->Reset());
            if (end) bench::scroll_to_end(host.tree());  // the rebuild scrolled back to the root
            const double first = bench::repaint_seconds(host.tree());
            const bench::Comparison c = bench::compare(
                runs, [&] { return bench::repaint_seconds(host.tree()); }, [&] { return bench::repaint_seconds(bare.hWnd()); });
            const char* place = end ? "end" : "top";
            std::printf("%7ld %6s %10.2f %20s %20s %20s\n", host.count(), place, 1000 * first,
                        c.subject.summary(2, 1000).c_str(), c.yardstick.summary(2, 1000).c_str(), c.ratio.summary().c_str());
            std::fflush(stdout);
            figures.ratio("repaint-" + bench::size_name(host.count()) + "-" + place, c.ratio, repaint_goal);
        }
    }
}

void memory_figures(bench::Figures& figures) {
    std::printf("(a) Private bytes per tree item\n");
    com::ComPtr<IMap> map = bench::make_map(32000);
    // First in the process, before other rebuilds leave freed memory behind for reuse; the bare
    // tree is filled while the control still holds its items, for the same reason.
    HostedControl host;
    const size_t empty = bench::private_bytes();
    host.show(map);
    const size_t full = bench::private_bytes();
    const long count = host.count();
    const double control = double(full - std::min(full, empty)) / double(count);

    const std::vector<bench::TreeItem> items = bench::read_items(host.tree());
    bench::BareTree tree(bench::tree_width, bench::tree_height);
    const size_t bare_empty = bench::private_bytes();
    tree.Fill(items);
    const size_t bare_full = bench::private_bytes();
    const double bare = double(bare_full - std::min(bare_full, bare_empty)) / double(items.size());
    std::printf("%7ld items: control %.0f bytes per item, bare tree %.0f\n\n", count, control, bare);
    std::fflush(stdout);
    figures.value("memory-per-item", control, bytes_per_item_goal);
}
}  // namespace

int main(int argc, char** argv) {
    return bench::run_program("toc-legends-bench", argc, argv, [](int runs, bench::Figures& figures) {
        memory_figures(figures);
        rebuild_figures(runs, figures);
        repaint_figures(runs, figures);
        nested_rebuild_figures(runs, figures);
    });
}
