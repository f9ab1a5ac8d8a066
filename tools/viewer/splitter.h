// Splitter: the bar between the viewer's two panes, which a person drags with the mouse to give
// one pane more room. It lays out the panes in an area of the frame's client area and follows the
// mouse while the button is held over the bar (the frame window gets the mouse there, since the
// bar is a gap between its child windows).
#pragma once
#include <windows.h>

namespace viewer {

class Splitter {
public:
    // The left pane's width to start with.
    explicit Splitter(int position) noexcept : position_(position) {}

    struct Panes {
        RECT left, bar, right;
    };
    // The panes of `area`: the left one as wide as the bar's position allows (each pane keeps a
    // minimum width while the area is wide enough), the bar, and the right one in the rest.
    Panes Layout(const RECT& area) const noexcept;

    // The frame's mouse messages: a press on the bar captures the mouse and starts a drag, moves
    // with the button held move the bar (answering true when the panes must be laid out anew),
    // the release or a loss of capture ends it.
    void OnPress(HWND frame, POINT client, const RECT& area) noexcept;
    bool OnMove(POINT client, const RECT& area) noexcept;
    void OnRelease() noexcept;
    void OnCaptureLost() noexcept { dragging_ = false; }

    // Whether a point of the frame's client area is on the bar (for the sizing pointer).
    bool OnBar(POINT client, const RECT& area) const noexcept;

    static constexpr int bar_width = 5;
    static constexpr int min_pane = 60;

private:
    int Clamp(int position, const RECT& area) const noexcept;

    int position_;
    int grab_ = 0;  // where on the bar the press was
    bool dragging_ = false;
};

}  // namespace viewer
