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
#include <cstring>
#include <vector>
#include "bench/common/bare_tree.h"
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

LPARAM at(POINT p) { return MAKELPARAM(p.x, p.y); }

HTREEITEM next_item(HWND tree, UINT relation, HTREEITEM item = nullptr) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

RECT label_rect(HWND tree, HTREEITEM item) {
    RECT r{};
    std::memcpy(&r, &item, sizeof(HTREEITEM));
    if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) return RECT{};
    return r;
}

// Points on the label of every row shown, from the first one visible down: `per_row` points
// across each label.
std::vector<POINT> label_points(HWND tree, int per_row) {
    std::vector<POINT> points;
    for (HTREEITEM item = next_item(tree, TVGN_FIRSTVISIBLE); item; item = next_item(tree, TVGN_NEXTVISIBLE, item)) {
        const RECT r = label_rect(tree, item);
        if (IsRectEmpty(&r) || r.top >= tree_height) break;
        const LONG y = (r.top + std::min<LONG>(r.bottom, tree_height)) / 2;
        for (int k = 0; k < per_row; ++k) points.push_back({r.left + (r.right - r.left) * (2 * k + 1) / (2 * per_row), y});
    }
    return points;
}

// A drag of the first layer of the control's tree, started as a person starts one: a press on
// its label and a move with the button held.
void start_drag(HWND tree) {
    const RECT r = label_rect(tree, next_item(tree, TVGN_CHILD, next_item(tree, TVGN_ROOT)));
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

// The host's own drag over a bare tree view: while it runs, the host's subclass of the tree
// finds the row under each move and moves the insert mark when that row changes; the tree then
// handles the move itself.
class HostDrag {
public:
    explicit HostDrag(HWND tree) : tree_(tree) { SetWindowSubclass(tree_, &HostDrag::proc, 1, reinterpret_cast<DWORD_PTR>(this)); }
    ~HostDrag() {
        SendMessageW(tree_, TVM_SETINSERTMARK, 0, 0);
        RemoveWindowSubclass(tree_, &HostDrag::proc, 1);
    }
    HostDrag(const HostDrag&) = delete;
    HostDrag& operator=(const HostDrag&) = delete;

private:
    static LRESULT CALLBACK proc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
        if (msg == WM_MOUSEMOVE) reinterpret_cast<HostDrag*>(self)->over(lp);
        return DefSubclassProc(window, msg, wp, lp);
    }
    void over(LPARAM lp) {
        TVHITTESTINFO test{};
        test.pt = {short(LOWORD(lp)), short(HIWORD(lp))};
        SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test));
        if (test.hItem == marked_) return;
        marked_ = test.hItem;
        SendMessageW(tree_, TVM_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(marked_));
    }
    HWND tree_;
    HTREEITEM marked_ = nullptr;
};

double moves_seconds(HWND tree, const std::vector<POINT>& points) {
    return bench::seconds_of([&] {
        for (POINT p : points) SendMessageW(tree, WM_MOUSEMOVE, MK_LBUTTON, at(p));
    });
}

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
            bench::BareTree bare(tree_width, tree_height);
            bare.Fill(bench::read_items(tree));
            start_drag(tree);
            HostDrag host_drag(bare.hWnd());
            for (const char* where : {"top", "end"}) {
                if (where[0] == 'e') {
                    scroll_to_end(tree);
                    scroll_to_end(bare.hWnd());
                }
                auto moves = [&](int per_row) {
                    const std::vector<POINT> points = label_points(tree, per_row);
                    const bench::Comparison c = bench::compare(
                        runs, [&] { return moves_seconds(tree, points); }, [&] { return moves_seconds(bare.hWnd(), points); });
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
