// drag-move-bench: what one mouse move of a running layer drag costs, end to end: the move is
// delivered to the control's tree window and passes its whole chain (the tree window's
// procedure, the drag's hit test, target, direction cursor and insert mark, and the native
// tree's own handling). The yardstick is the same move delivered to a bare tree view whose host
// runs its own drag as hosts do: its subclass of the tree hit-tests the point and moves the
// insert mark when the row under the cursor changes, then the tree handles the move itself.
// About 100 and 32,000 items, the tree at its top and scrolled to its end. The mouse crosses
// every row shown in four moves, so one move in four reaches another row (the figure); a second
// column has every move reach another row.
// Usage: drag-move-bench [runs]   (runs per figure, at least 5; default 5)
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <vector>
#include "bench/common/bare_tree.h"
#include "bench/common/drag_moves.h"
#include "bench/common/figures.h"
#include "bench/common/hosted_control.h"
#include "bench/common/map_maker.h"
#include "bench/common/program.h"

namespace {
constexpr double goal = 1.2;

void drag_figures(int runs, bench::Figures& figures) {
    std::printf("One mouse move of a layer drag delivered to the tree window, against the same move delivered\n"
                "to a bare tree view whose host runs its own drag (us per move; median (min-max) of %d);\n"
                "'row by row': the ratio when every move reaches another row\n",
                runs);
    std::printf("%7s %6s %20s %20s %20s %20s\n", "items", "where", "control", "bare + host", "ratio", "row by row");
    for (int target : {100, 32000}) {
        com::ComPtr<IMap> map = bench::make_map(target);
        bench::HostedControl control(bench::tree_width, bench::tree_height);
        control.show(map.get());
        const HWND tree = control.tree();
        // Beside the control's, so that the pointer can be over either tree.
        bench::BareTree bare(bench::tree_width, bench::tree_height);
        SetWindowPos(GetParent(bare.hWnd()), nullptr, 2 * bench::tree_width, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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
                const bench::Comparison c =
                    bench::compare(runs, [&] { return bench::moves_seconds(tree, points); },
                                   [&] { return bench::moves_seconds(bare.hWnd(), points); });
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
}
}  // namespace

int main(int argc, char** argv) { return bench::run_program("drag-move-bench", argc, argv, drag_figures); }
