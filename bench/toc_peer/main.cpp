// toc-peer-bench: the control as a host has it (kelpy.dll, embedded through the OLE control
// protocol) against the table of contents a host's developer would write instead (PeerToc: a
// plain tree view with the swatches in its image list), and the first paints the control owes
// after a rebuild.
//  (a) Reset of maps giving 1,000 to 32,000 items with legends, against the peer's rebuild
//      (every item and swatch anew).
//  (b) Full repaints of a tree window 600 pixels tall, about 100 and 32,000 items, at the top
//      and scrolled to the end: the control's repaint against the peer's; the first repaint
//      after a rebuild against the peer's first repaint after its rebuild; and the control's
//      first repaint after a rebuild against its own repaint with every swatch painted before;
//      beside them, the rows the control's tree paints in each of the last two.
//  (c) A drop as a person makes it (press on the first layer's label, a move that starts the
//      drag, a move onto the third layer's label, the release there): from the release until
//      the tree is repainted (the layer moved in the map, the tree rebuilt by the map's
//      notification, the map asked to redraw, the tree's next paint), against a bare tree view
//      inserting the same items and repainting. On the sample map and a map of 1,000 items.
//  (d) The optional row marks on a map of 32,000 items: an extent change that moves 5 of the
//      layers shown out of (or back into) their scale range with ShowScaleRanges on, from the
//      map's extent put (ExtentChanged) to the repainted tree, against the control's repaint of
//      the same window with the option off; and the first paint after a rebuild with
//      ShowFeatureCounts on, the counts not known to the control nor the layers (unique values,
//      10,000 features per layer), to the tree repainted with the counts fetched after the paint,
//      against the same first paint without counts.
// Usage: toc-peer-bench [runs] [marks]   (runs per figure, at least 5; default 5; `marks`: (d)
// alone)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "bench/common/bare_tree.h"
#include "bench/common/drag_moves.h"
#include "bench/common/figures.h"
#include "bench/common/hosted_control.h"
#include "bench/common/map_maker.h"
#include "bench/common/peer_toc.h"
#include "bench/common/program.h"
#include "bench/common/timing.h"
#include "com/bstr.h"
#include "com/error.h"
#include "com_server.h"
#include "map_document.h"
#include "tree_reader.h"

namespace {
constexpr double peer_goal = 1.0;
constexpr double first_paint_goal = 1.2;
constexpr double drop_goal = 2.0;
constexpr double extent_change_goal = 1.2;
constexpr double counts_first_paint_goal = 1.5;

// Counts the rows a tree window paints: the custom-draw notifications of an item's paint that it
// sends (through a hook on the thread's sent messages).
class PaintedRows {
public:
    explicit PaintedRows(HWND tree) {
        tree_ = tree;
        rows_ = 0;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &PaintedRows::proc, nullptr, GetCurrentThreadId());
    }
    ~PaintedRows() { UnhookWindowsHookEx(hook_); }
    PaintedRows(const PaintedRows&) = delete;
    PaintedRows& operator=(const PaintedRows&) = delete;
    long rows() const { return rows_; }

private:
    static LRESULT CALLBACK proc(int code, WPARAM wp, LPARAM lp) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && m->message == WM_NOTIFY) {
            const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(m->lParam);
            if (draw->hdr.hwndFrom == tree_ && draw->hdr.code == UINT(NM_CUSTOMDRAW) && draw->dwDrawStage == CDDS_ITEMPREPAINT)
                ++rows_;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static inline HWND tree_ = nullptr;
    static inline long rows_ = 0;
    HHOOK hook_;
};

// The rows the control's tree paints in one repaint.
long rows_painted(HWND tree) {
    PaintedRows counter(tree);
    bench::repaint_seconds(tree);
    return counter.rows();
}

void rebuild_figures(int runs, bench::Figures& figures) {
    std::printf("(a) Reset with legends against the peer's rebuild (ms; median (min-max) of %d)\n", runs);
    std::printf("%7s %7s %20s %20s %20s\n", "items", "peer", "control", "peer", "ratio");
    for (int target : {1000, 2000, 4000, 8000, 16000, 32000}) {
        com::ComPtr<IMap> map = bench::make_map(target);
        bench::HostedControl control(bench::tree_width, bench::tree_height);
        control.show(map.get());
        bench::PeerToc peer(bench::tree_width, bench::tree_height);
        peer.show(map.get());
        const bench::Comparison c = bench::compare(
            runs, [&] { return bench::seconds_of([&] { control.reset(); }); },
            [&] { return bench::seconds_of([&] { peer.rebuild(); }); });
        std::printf("%7ld %7ld %20s %20s %20s\n", control.count(), peer.count(), c.subject.summary(1, 1000).c_str(),
                    c.yardstick.summary(1, 1000).c_str(), c.ratio.summary().c_str());
        std::fflush(stdout);
        figures.ratio("peer-reset-legends-" + bench::size_name(control.count()), c.ratio, peer_goal);
    }
}

void repaint_figures(int runs, bench::Figures& figures) {
    std::printf("\n(b) Full repaints of a tree window %d pixels tall (ms; median (min-max) of %d): warm (every\n"
                "    swatch painted before), first after a rebuild; the peer's the same; the control's first\n"
                "    repaint against its warm one\n",
                bench::tree_height, runs);
    std::printf("%7s %6s %18s %18s %18s %18s %18s %18s %18s %11s\n", "items", "place", "control", "peer", "ratio", "first",
                "peer first", "ratio", "first/warm", "rows f/w");
    for (int target : {100, 32000}) {
        com::ComPtr<IMap> map = bench::make_map(target);
        bench::HostedControl control(bench::tree_width, bench::tree_height);
        control.show(map.get());
        bench::PeerToc peer(bench::tree_width, bench::tree_height);
        peer.show(map.get());
        for (bool end : {false, true}) {
            // A rebuild scrolls back to the top.
            auto place = [end](HWND tree) {
                if (end) bench::scroll_to_end(tree);
            };
            place(control.tree());
            place(peer.tree());
            auto warm = [&] { return bench::repaint_seconds(control.tree()); };
            auto first = [&] {
                control.reset();
                place(control.tree());
                return bench::repaint_seconds(control.tree());
            };
            auto peer_repaint = [&] { return bench::repaint_seconds(peer.tree()); };
            auto peer_first = [&] {
                peer.rebuild();
                place(peer.tree());
                return bench::repaint_seconds(peer.tree());
            };
            const bench::Comparison repaint = bench::compare(runs, warm, peer_repaint);
            const bench::Comparison after_rebuild = bench::compare(runs, first, peer_first);
            const bench::Comparison first_warm = bench::compare(runs, first, warm);
            // The rows painted by a first repaint after a Reset, and by the repaint after it.
            control.reset();
            place(control.tree());
            const long rows_first = rows_painted(control.tree());
            const long rows_warm = rows_painted(control.tree());
            const std::string rows = std::to_string(rows_first) + "/" + std::to_string(rows_warm);
            const std::string name = bench::size_name(control.count()) + "-" + (end ? "end" : "top");
            std::printf("%7ld %6s %18s %18s %18s %18s %18s %18s %18s %11s\n", control.count(), end ? "end" : "top",
                        repaint.subject.summary(2, 1000).c_str(), repaint.yardstick.summary(2, 1000).c_str(),
                        repaint.ratio.summary().c_str(), after_rebuild.subject.summary(2, 1000).c_str(),
                        after_rebuild.yardstick.summary(2, 1000).c_str(), after_rebuild.ratio.summary().c_str(),
                        first_warm.ratio.summary().c_str(), rows.c_str());
            std::fflush(stdout);
            figures.ratio("peer-repaint-" + name, repaint.ratio, peer_goal);
            figures.ratio("peer-first-repaint-" + name, after_rebuild.ratio, peer_goal);
            figures.ratio("first-paint-" + name, first_warm.ratio, first_paint_goal);
        }
    }
}

void drop_figure(int runs, const std::string& name, const com::ComPtr<IMap>& map, bench::Figures& figures) {
    bench::HostedControl control(bench::tree_width, bench::tree_height);
    control.show(map.get());
    bench::run_pending_messages();
    bench::BareTree bare(bench::tree_width, bench::tree_height);
    const std::vector<bench::TreeItem> items = bench::read_items(control.tree());
    const bench::Comparison c = bench::compare(
        runs, [&] { return bench::drop_seconds(control.tree(), map.get()); },
        [&] { return bench::seconds_of([&] { bare.Fill(items); }) + bench::repaint_seconds(bare.hWnd()); });
    std::printf("%10s %7ld %20s %20s %20s\n", name.c_str(), control.count(), c.subject.summary(2, 1000).c_str(),
                c.yardstick.summary(2, 1000).c_str(), c.ratio.summary().c_str());
    std::fflush(stdout);
    figures.ratio("drop-" + name, c.ratio, drop_goal);
}

void drop_figures(int runs, bench::Figures& figures) {
    std::printf("\n(c) A drop, from the release to the repainted tree, against a bare tree view's rebuild and\n"
                "    repaint of the same items (ms; median (min-max) of %d)\n",
                runs);
    std::printf("%10s %7s %20s %20s %20s\n", "map", "items", "control", "bare", "ratio");
    drop_figure(runs, "sample", host::open_map(host::program_dir() + L"samples\\sample-map.json"), figures);
    drop_figure(runs, "1k", bench::make_map(1000), figures);
}
// A hidden window for the map's view, whose width in pixels gives the map its scale.
class ViewWindow {
public:
    ViewWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"map", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {
        if (!window_) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"No window for the map's view");
    }
    ~ViewWindow() { DestroyWindow(window_); }
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;
    HWND hWnd() const { return window_; }

private:
    HWND window_;
};

com::ComPtr<IEnvelope> square(double side) {
    auto e = com::ComPtr<IEnvelope>::create(CLSID_Envelope);
    com::check(e->put_XMin(0));
    com::check(e->put_YMin(0));
    com::check(e->put_XMax(side));
    com::check(e->put_YMax(side));
    return e;
}

com::ComPtr<_TOC3> toc3(const bench::HostedControl& control) { return control.toc().as<_TOC3>(); }

// The top-level layers of the map whose rows the tree window shows, in the order shown.
std::vector<com::ComPtr<ILayer>> shown_layers(HWND tree, IMap* map) {
    RECT client;
    GetClientRect(tree, &client);
    std::vector<std::wstring> shown;
    for (const host::NativeItem& item : host::read_items(tree)) {
        RECT row;
        if (item.depth != 1 || !host::stands_for_layer(item) || !TreeView_GetItemRect(tree, item.handle, &row, FALSE)) continue;
        if (row.top >= 0 && row.bottom <= client.bottom) shown.push_back(item.text);
    }
    std::vector<com::ComPtr<ILayer>> layers;
    LONG count = 0;
    com::check(map->get_LayerCount(&count));
    for (const std::wstring& text : shown)
        for (LONG i = 0; i < count; ++i) {
            com::ComPtr<ILayer> layer;
            com::check(map->get_Layer(i, layer.put()));
            com::Bstr name;
            com::check(layer->get_Name(name.put()));
            if (text == name.get()) {
                layers.push_back(layer);
                break;
            }
        }
    return layers;
}

void extent_change_figure(int runs, bench::Figures& figures) {
    com::ComPtr<IMap> map = bench::make_map(32000);
    ViewWindow view;
    com::check(map.as<IMapView>()->put_Window(reinterpret_cast<LONG_PTR>(view.hWnd())));
    com::check(map.as<IMapScale>()->put_Units(com::Bstr(L"meters").get()));
    // 1 km and 100 km across 400 pixels: about 1:9,450 and 1:945,000.
    const com::ComPtr<IEnvelope> near_extent = square(1000), far_extent = square(100000);
    com::check(map.as<IMapView>()->putref_Extent(near_extent.get()));
    double scale = 0;
    com::check(map.as<IMapScale>()->get_Scale(&scale));
    bench::HostedControl control(bench::tree_width, bench::tree_height);
    control.show(map.get());
    const HWND tree = control.tree();
    const std::vector<com::ComPtr<ILayer>> shown = shown_layers(tree, map.get());
    if (shown.size() < 5) com::raise(E_FAIL, L"The tree shows fewer than five layers");
    // Drawn up to 1:100,000: the far extent takes them out of their range.
    for (size_t i = 0; i < 5; ++i) com::check(shown[i].as<IScaleRange>()->put_MinimumScale(100000));
    const com::ComPtr<_TOC3> options = toc3(control);
    auto set_ranges = [&](bool on) {
        com::check(options->put_ShowScaleRanges(on ? VARIANT_TRUE : VARIANT_FALSE));
        UpdateWindow(tree);
    };
    bool zoomed_out = false;
    auto flip = [&] {
        zoomed_out = !zoomed_out;
        IEnvelope* to = (zoomed_out ? far_extent : near_extent).get();
        return bench::seconds_of([&] {
            com::check(map.as<IMapView>()->putref_Extent(to));
            UpdateWindow(tree);
        });
    };
    auto with_ranges = [&] {
        set_ranges(true);
        return flip();
    };
    auto without = [&] {
        set_ranges(false);
        return bench::seconds_of([&] {
            InvalidateRect(tree, nullptr, TRUE);
            UpdateWindow(tree);
        });
    };
    const bench::Comparison c = bench::compare(runs, with_ranges, without);
    // The rows one extent change repaints.
    set_ranges(true);
    long rows = 0;
    {
        PaintedRows counter(tree);
        flip();
        rows = counter.rows();
    }
    std::printf("%24s %7ld %18s %18s %18s %7ld\n", "extent change", control.count(), c.subject.summary(2, 1000).c_str(),
                c.yardstick.summary(2, 1000).c_str(), c.ratio.summary().c_str(), rows);
    std::fflush(stdout);
    figures.ratio("extent-change-" + bench::size_name(control.count()), c.ratio, extent_change_goal);
}

// Dispatches the thread's messages until the tree's window has handled a timer message (the
// control's fetch of counts after a paint), then has the tree repaint what it invalidated.
void until_counts_fetched(HWND tree) {
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (msg.message == WM_TIMER && msg.hwnd == tree) {
                UpdateWindow(tree);
                return;
            }
        }
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 2000, QS_ALLINPUT) == WAIT_TIMEOUT)
            com::raise(E_FAIL, L"The control fetched no counts after its paint");
    }
}

void counts_first_paint_figure(int runs, bench::Figures& figures) {
    com::ComPtr<IFeatureClass> shared;
    com::ComPtr<IMap> map = bench::make_counted_map(32000, 10000, shared);
    LONG revised = 0;
    com::check(shared->AddField(com::Bstr(L"REVISED").get(), &revised));
    bench::HostedControl control(bench::tree_width, bench::tree_height);
    control.show(map.get());
    const HWND tree = control.tree();
    const com::ComPtr<_TOC3> options = toc3(control);
    // Puts the option, then rebuilds with every layer's counts forgotten (a value of the
    // features they share changed): what the first paint finds.
    LONG revision = 0;
    auto rebuilt = [&](bool counts) {
        com::check(options->put_ShowFeatureCounts(counts ? VARIANT_TRUE : VARIANT_FALSE));
        VARIANT value;
        value.vt = VT_I4;
        value.lVal = ++revision;
        com::check(shared->put_Attribute(0, revised, value));
        control.reset();
    };
    // Beside the whole: its first paint alone, and the wait for the timer that fetches the counts.
    bench::Samples paints, waits;
    auto with_counts = [&] {
        rebuilt(true);
        const bench::Stopwatch watch;
        RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const double painted = watch.seconds();
        MSG msg;
        while (!PeekMessageW(&msg, tree, WM_TIMER, WM_TIMER, PM_NOREMOVE))
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 2000, QS_TIMER);
        const double due = watch.seconds();
        until_counts_fetched(tree);
        const double all = watch.seconds();
        paints.add(painted);
        waits.add(due - painted);
        return all;
    };
    auto without = [&] {
        rebuilt(false);
        return bench::repaint_seconds(tree);
    };
    const bench::Comparison c = bench::compare(runs, with_counts, without);
    std::printf("%24s %7ld %18s %18s %18s\n", "first paint with counts", control.count(),
                c.subject.summary(2, 1000).c_str(), c.yardstick.summary(2, 1000).c_str(), c.ratio.summary().c_str());
    std::fflush(stdout);
    // What one layer's counting takes in the model: its count and its 11 classes', anew.
    bench::Samples counting;
    LONG layer_count = 0;
    com::check(map->get_LayerCount(&layer_count));
    for (int i = 0; i < runs; ++i) {
        VARIANT value;
        value.vt = VT_I4;
        value.lVal = ++revision;
        com::check(shared->put_Attribute(0, revised, value));
        com::ComPtr<ILayer> layer;
        com::check(map->get_Layer(0, layer.put()));
        const com::ComPtr<IClassCounts> counts = layer.as<IClassCounts>();
        counting.add(bench::seconds_of([&] {
            LONG n = 0;
            com::check(counts->get_FeatureCount(&n));
            for (LONG k = 0; k <= 10; ++k) com::check(counts->get_ClassFeatureCount(k, &n));
        }));
    }
    std::printf("%24s %7s %18s   (of the whole: the first paint; the wait for the count timer; one layer counted)\n", "",
                "", (paints.summary(2, 1000) + "; " + waits.summary(2, 1000) + "; " + counting.summary(2, 1000)).c_str());
    std::fflush(stdout);
    figures.ratio("counts-first-paint-" + bench::size_name(control.count()), c.ratio, counts_first_paint_goal);
}

void row_mark_figures(int runs, bench::Figures& figures) {
    std::printf("\n(d) Row marks on a map of 32,000 items: an extent change flipping 5 layers shown out of their\n"
                "    scale range, to the repainted tree, against a full repaint without the option; the first\n"
                "    paint after a rebuild with counts fetched and shown, against it without counts (ms; median\n"
                "    (min-max) of %d; rows: those the extent change repaints)\n",
                runs);
    std::printf("%24s %7s %18s %18s %18s %7s\n", "", "items", "with", "without", "ratio", "rows");
    extent_change_figure(runs, figures);
    counts_first_paint_figure(runs, figures);
}
}  // namespace

int main(int argc, char** argv) {
    const bool marks_only = argc > 2 && std::string(argv[2]) == "marks";
    return bench::run_program("toc-peer-bench", argc, argv, [marks_only](int runs, bench::Figures& figures) {
        if (marks_only) return row_mark_figures(runs, figures);
        rebuild_figures(runs, figures);
        repaint_figures(runs, figures);
        drop_figures(runs, figures);
        row_mark_figures(runs, figures);
    });
}
