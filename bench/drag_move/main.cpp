// drag-move-bench: what one mouse move of a running layer drag costs, end to end: the move is
// delivered to the control's tree window and passes its whole chain (the control's hooks, the
// tree's wrapper, the drag's hit test, target, direction cursor and insert mark, and the native
// tree's own handling). The yardstick is the same move delivered to a bare tree view whose host
// runs its own drag as hosts do: its subclass of the tree hit-tests the point and moves the
// insert mark when the row under the cursor changes, then the tree handles the move itself.
// About 100 and 32,000 items, the tree at its top and scrolled to its end. The mouse crosses
// every row shown in four moves, so one move in four reaches another row (the figure); a second
// column has every move reach another row.
// Usage: drag-move-bench [runs]   (runs per figure, at least 5; default 5)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "bench/common/bare_tree.h"
#include "bench/common/drag_moves.h"
#include "bench/common/figures.h"
#include "bench/common/hosted_control.h"
#include "bench/common/map_maker.h"
#include "bench/common/map_model.h"
#include "bench/common/timing.h"
#include "com/error.h"

namespace {
constexpr int tree_width = 300;
constexpr int tree_height = 600;
constexpr double goal = 1.2;
}  // namespace

int main(int argc, char** argv) {
    const int runs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 5);
    if (FAILED(OleInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    if (!bench::use_map_model()) {
        std::fprintf(stderr, "drag-move-bench: mapmodel.dll could not be registered\n");
        return 1;
    }
    bench::Figures figures;
    std::printf("One mouse move of a layer drag delivered to the tree window, against the same move delivered\n"
                "to a bare tree view whose host runs its own drag (us per move; median (min-max) of %d);\n"
                "'row by row': the ratio when every move reaches another row\n",
                runs);
    std::printf("%7s %6s %20s %20s %20s %20s\n", "items", "where", "control", "bare + host", "ratio", "row by row");
    try {
        for (int target : {100, 32000}) {
            com::ComPtr<IMap> map = bench::make_map(target);
            bench::HostedControl control(tree_width, tree_height);
            control.show(map.get());
            const HWND tree = control.tree();
            // Beside the control's, so that the pointer can be over either tree.
            bench::BareTree bare(tree_width, tree_height);
            SetWindowPos(GetParent(bare.hWnd()), nullptr, 2 * tree_width, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            bare.Fill(bench::read_items(tree));
            bench::start_drag(tree);
            bench::HostDrag host_drag(bare.hWnd());
            for (const char* where : {"top", "end"}) {
                if (where[0] == 'e') {
                    bench::scroll_to_end(tree);
                    bench::scroll_to_end(bare.hWnd());
                }
                auto moves = [&](int per_row) {
                    const std::vector<POINT> points = bench::label_points(tree, per_row);
                    const bench::Comparison c = bench::compare(
                        runs, [&] { return bench::moves_seconds(tree, points); }, [&] { return bench::moves_seconds(bare.hWnd(), points); });
                    return std::pair{c, 1e6 / double(points.size())};
                };
                const auto [c, per_move] = moves(4);
                const auto [row_by_row, unused] = moves(1);
                std::printf("%7ld %6s %20s %20s %20s %20s\n", control.count(), where, c.subject.summary(1, per_move).c_str(),
                            c.yardstick.summary(1, per_move).c_str(), c.ratio.summary().c_str(),
                            row_by_row.ratio.summary().c_str());
                std::fflush(stdout);
                figures.ratio("drag-move-" + bench::size_name(control.count()) + "-" + where, c.ratio, goal);
            }
            bench::end_drag(tree);
        }
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "drag-move-bench: %s\n", e.what());
        return 1;
    }
    figures.print();
    OleUninitialize();
    return 0;
}
