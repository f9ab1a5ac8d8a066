// A layer drag's mouse moves, for the benchmarks: started on the control's tree as a person
// starts one, the points a drag crosses, the moves delivered to a tree window, a whole drop, and
// the drag a host runs itself over a bare tree view.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "mapmodel.h"

namespace bench {

// Points on the label of every row shown, from the first one visible down: `per_row` points
// across each label.
std::vector<POINT> label_points(HWND tree, int per_row);

// A drag of the first layer of the control's tree, started as a person starts one: a press on
// its label and a move with the button held. Raises when the tree does not hold the mouse then.
void start_drag(HWND tree);
// Ends the drag away from the tree (the pointer is elsewhere): nothing is dropped.
void end_drag(HWND tree);

// The seconds of these moves delivered to the tree window, with the pointer over the tree first
// (as it is while a person drags over it: the tree's own handling of a move asks where the
// pointer is) and the messages that earlier moves left for the thread handled.
double moves_seconds(HWND tree, const std::vector<POINT>& points);

// Runs the thread's pending messages (the paints among them).
void run_pending_messages();

// One drop of the map's first layer onto the third in the control's tree, as a person makes it
// (a press on the first layer's label, a move that starts the drag, a move onto the third
// layer's label, the release there); the seconds from the release until the tree is repainted.
// Raises when the drop moved nothing.
double drop_seconds(HWND tree, IMap* map);

// The host's own drag over a bare tree view, running while this object lives (one at a time): the
// host's subclass of the tree (the window procedure replaced, as hosts subclass a control) finds
// the row under each move and moves the insert mark when that row changes; the tree then handles
// the move itself. (Not SetWindowSubclass: Wine keeps that subclass's data in a window property
// and asks its server for it on every message, a cost of the host's tools rather than of its drag.)
class HostDrag {
public:
    explicit HostDrag(HWND tree);
    ~HostDrag();
    HostDrag(const HostDrag&) = delete;
    HostDrag& operator=(const HostDrag&) = delete;

private:
    static LRESULT CALLBACK proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void over(LPARAM lp);
    static inline HostDrag* running_ = nullptr;
    HWND tree_;
    WNDPROC tree_proc_;
    HTREEITEM marked_ = nullptr;
};

}  // namespace bench
