// drag-move-bench: what one mouse move of a running layer drag costs the control (the tree's
// hit test, the drop target, the direction cursor, the insert mark), against the bare tree view's
// own hit test at the same points, with about 100 and 32,000 items, the tree at its top and
// scrolled to its end. The mouse crosses every row shown in four moves, so one move in four
// changes the target and sets the insert mark anew (the figure); a second column has every move
// land on another row than the one before.
// Usage: drag-move-bench [runs]   (runs per figure, at least 5; default 5)
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "bench/common/bare_tree.h"
#include "bench/common/figures.h"
#include "bench/common/map_maker.h"
#include "bench/common/map_model.h"
#include "bench/common/timing.h"
#include "com/error.h"
#include "kelpy/control/toc.h"

namespace {
constexpr int tree_width = 300;
constexpr int tree_height = 600;
constexpr double goal = 2.0;

// The control in a frame of the tree's size, started as at run time, showing a map.
struct HostedControl {
    bench::Frame frame{tree_width, tree_height};
    com::ComPtr<kelpy::Toc> toc = kelpy::Toc::create();

    explicit HostedControl(const com::ComPtr<IMap>& map) {
        toc->CreateControlWindow(frame.hWnd(), RECT{0, 0, tree_width, tree_height});
        toc->StartRunTime();
        IMap* m = map.get();
        com::check(toc->Initialize(&m));
    }
    ~HostedControl() { toc->DestroyControlWindow(); }
    HWND tree() const { return GetWindow(toc->hWnd(), GW_CHILD); }
};

LPARAM at(POINT p) { return MAKELPARAM(p.x, p.y); }

// Points on the label of every row shown, from the first one visible down: `per_row` points
// across each label.
std::vector<POINT> label_points(HWND tree, int per_row) {
    std::vector<POINT> points;
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)); item;
         item = reinterpret_cast<HTREEITEM>(
             SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
        RECT r{};
        std::memcpy(&r, &item, sizeof(HTREEITEM));
        if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)) || r.top >= tree_height) break;
        const LONG y = (r.top + std::min<LONG>(r.bottom, tree_height)) / 2;
        for (int k = 0; k < per_row; ++k) points.push_back({r.left + (r.right - r.left) * (2 * k + 1) / (2 * per_row), y});
    }
    return points;
}

// A drag of the first layer of the control's tree, started as a person starts one: a press on
// its label and a move with the button held.
void start_drag(HWND tree) {
    auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    auto layer = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    RECT r{};
    std::memcpy(&r, &layer, sizeof(HTREEITEM));
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at(p));
    SendMessageW(tree, WM_MOUSEMOVE, MK_LBUTTON, at({p.x + 1, p.y}));
    if (GetCapture() != tree) com::raise(E_FAIL, L"The drag did not start");
}

// Ends the drag away from the tree (the pointer is elsewhere): nothing is dropped.
void end_drag(HWND tree) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    SendMessageW(tree, WM_LBUTTONUP, 0, at({-10, -10}));
}

void scroll_to_end(HWND tree) { SendMessageW(tree, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0); }

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
    std::printf("One mouse move of a layer drag against a bare TVM_HITTEST at the same point (us per move;\n"
                "median (min-max) of %d); 'row by row': the ratio when every move reaches another row;\n"
                "'to floor': the ratio to the bare tree given the same moves, a hit test and an insert mark\n",
                runs);
    std::printf("%7s %6s %20s %20s %20s %20s %20s\n", "items", "where", "control", "bare", "ratio", "row by row",
                "to floor");
    try {
        for (int target : {100, 32000}) {
            HostedControl host(bench::make_map(target));
            const HWND tree = host.tree();
            bench::BareTree bare(tree_width, tree_height);
            bare.Fill(bench::read_items(tree));
            const long items = long(SendMessageW(tree, TVM_GETCOUNT, 0, 0));
            start_drag(tree);
            for (const char* where : {"top", "end"}) {
                if (where[0] == 'e') {
                    scroll_to_end(tree);
                    scroll_to_end(bare.hWnd());
                }
                // The control's drag: the same moves, as the measured side of every comparison.
                auto control_moves = [&](const std::vector<POINT>& points) {
                    return bench::seconds_of([&] {
                        for (POINT p : points) SendMessageW(tree, WM_MOUSEMOVE, MK_LBUTTON, at(p));
                    });
                };
                auto moves = [&](int per_row) {
                    const std::vector<POINT> points = label_points(tree, per_row);
                    bench::Comparison c = bench::compare(
                        runs, [&] { return control_moves(points); },
                        [&] {
                            return bench::seconds_of([&] {
                                for (POINT p : points) {
                                    TVHITTESTINFO test{};
                                    test.pt = p;
                                    SendMessageW(bare.hWnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
                                }
                            });
                        });
                    return std::pair{c, 1e6 / double(points.size())};
                };
                // The floor: what the bare tree itself does with the same moves (its own mouse
                // move handling, a hit test, and an insert mark whenever the row changes), the
                // least any drag over this tree view pays.
                auto floor = [&] {
                    const std::vector<POINT> points = label_points(tree, 4);
                    return bench::compare(
                        runs, [&] { return control_moves(points); },
                        [&] {
                            return bench::seconds_of([&] {
                                HTREEITEM marked = nullptr;
                                for (POINT p : points) {
                                    SendMessageW(bare.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, at(p));
                                    TVHITTESTINFO test{};
                                    test.pt = p;
                                    SendMessageW(bare.hWnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
                                    if (test.hItem == marked) continue;
                                    marked = test.hItem;
                                    SendMessageW(bare.hWnd(), TVM_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(marked));
                                }
                            });
                        });
                };
                const auto [c, per_move] = moves(4);
                const auto [row_by_row, unused] = moves(1);
                const bench::Comparison to_floor = floor();
                std::printf("%7ld %6s %20s %20s %20s %20s %20s\n", items, where, c.subject.summary(1, per_move).c_str(),
                            c.yardstick.summary(1, per_move).c_str(), c.ratio.summary().c_str(),
                            row_by_row.ratio.summary().c_str(), to_floor.ratio.summary().c_str());
                std::fflush(stdout);
                figures.ratio("drag-move-" + bench::size_name(items) + "-" + where, c.ratio, goal);
            }
            end_drag(tree);
        }
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "drag-move-bench: %s\n", e.what());
        return 1;
    }
    figures.print();
    OleUninitialize();
    return 0;
}
