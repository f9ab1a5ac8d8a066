// toc-legends-bench: what the control's legends cost.
//  (a) Reset of maps giving 1,000 to 32,000 tree items with legends, against a bare tree view
//      inserting the same items; and the share of the rebuild spent measuring swatches.
//  (b) One full repaint of a tree window 600 pixels tall holding 100 and 32,000 items, the
//      control's (custom drawn) against the bare tree view's.
// Usage: toc-legends-bench [runs]   (median of `runs` timings per figure, default 3)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <cstdio>
#include <cstdlib>
#include "bench/toc_legends/bare_tree.h"
#include "bench/toc_legends/map_maker.h"
#include "bench/toc_legends/timing.h"
#include "com/error.h"
#include "kelpy/control/toc.h"

namespace test {
struct Bench;

// The benchmark's access to the control's procedures.
template <>
struct TocAccess<Bench> {
    // Seconds of measuring every legend row of the tree once more: what a rebuild spends on it.
    static double measure_all(kelpy::Toc& toc) {
        auto& nodes = toc.tvwTOC.Nodes();
        bench::Stopwatch watch;
        for (long k = 1; k <= long(nodes.size()); ++k) {
            kelpy::NodePtr node = nodes.Item(k);
            com::ComPtr<kelpy::TocNode> record = node->Tag();
            if (record && record->Symbol) toc.MeasureSymbol(node);
        }
        return watch.seconds();
    }
    static HWND tree(kelpy::Toc& toc) { return toc.tvwTOC.hWnd(); }
};
}  // namespace test

namespace {
using TocProbe = test::TocAccess<test::Bench>;
constexpr int tree_width = 300;
constexpr int tree_height = 600;

// The control in a frame of the tree's size, started as at run time, showing a map.
struct HostedControl {
    bench::Frame frame{tree_width, tree_height};
    com::ComPtr<kelpy::Toc> toc = com::ComPtr<kelpy::Toc>::attach(kelpy::Toc::create());

    explicit HostedControl(const com::ComPtr<IMap>& map) {
        toc->CreateControlWindow(frame.hWnd(), RECT{0, 0, tree_width, tree_height});
        toc->StartRunTime();
        IMap* m = map.get();
        com::check(toc->Initialize(&m));
    }
    ~HostedControl() { toc->DestroyControlWindow(); }
    HWND tree() { return TocProbe::tree(*toc.get()); }
    long count() { return long(SendMessageW(tree(), TVM_GETCOUNT, 0, 0)); }
};

void rebuild_figures(int runs) {
    std::printf("(a) Reset with legends against a bare tree view inserting the same items\n");
    std::printf("%8s %12s %12s %8s %14s\n", "items", "control s", "bare s", "ratio", "measuring");
    for (int target : {1000, 2000, 4000, 8000, 16000, 32000}) {
        com::ComPtr<IMap> map = bench::make_map(target);
        HostedControl host(map);
        const double control = bench::median_seconds(runs, [&] {
            bench::Stopwatch watch;
            com::check(host.toc->Reset());
            return watch.seconds();
        });
        const double measuring = TocProbe::measure_all(*host.toc.get());
        const std::vector<bench::TreeItem> items = bench::read_items(host.tree());
        bench::BareTree bare(tree_width, tree_height);
        const double plain = bench::median_seconds(runs, [&] {
            bench::Stopwatch watch;
            bare.Fill(items);
            return watch.seconds();
        });
        std::printf("%8ld %12.3f %12.3f %8.2f %13.0f%%\n", host.count(), control, plain, control / plain,
                    100.0 * measuring / control);
        std::fflush(stdout);
    }
}

void repaint_figures(int runs) {
    std::printf("(b) One full repaint of a tree window %d pixels tall\n", tree_height);
    std::printf("%8s %12s %12s %8s\n", "items", "control ms", "bare ms", "ratio");
    for (int target : {100, 32000}) {
        com::ComPtr<IMap> map = bench::make_map(target);
        HostedControl host(map);
        bench::BareTree bare(tree_width, tree_height);
        bare.Fill(bench::read_items(host.tree()));
        const double control = bench::median_seconds(runs, [&] { return bench::repaint_seconds(host.tree()); });
        const double plain = bench::median_seconds(runs, [&] { return bench::repaint_seconds(bare.hWnd()); });
        std::printf("%8ld %12.2f %12.2f %8.2f\n", host.count(), 1000.0 * control, 1000.0 * plain, control / plain);
        std::fflush(stdout);
    }
}
}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    if (FAILED(OleInitialize(nullptr))) return 2;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    int rc = 0;
    if (!bench::use_map_model()) {
        std::fprintf(stderr, "cannot register mapmodel.dll beside the program\n");
        rc = 1;
    } else {
        try {
            rebuild_figures(runs);
            repaint_figures(std::max(runs, 5));
        } catch (const com::ComError& e) {
            std::fprintf(stderr, "failed: %s\n", e.what());
            rc = 1;
        }
    }
    OleUninitialize();
    return rc;
}
