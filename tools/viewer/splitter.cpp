#include "splitter.h"
#include <algorithm>

namespace viewer {

int Splitter::Clamp(int position, const RECT& area) const noexcept {
    const int width = area.right - area.left;
    const int most = width - bar_width - min_pane;
    if (most < min_pane) return std::max(0, std::min(position, width - bar_width));
    return std::clamp(position, min_pane, most);
}

Splitter::Panes Splitter::Layout(const RECT& area) const noexcept {
    const int x = area.left + Clamp(position_, area);
    Panes p;
    p.left = {area.left, area.top, x, area.bottom};
    p.bar = {x, area.top, std::min<LONG>(x + bar_width, area.right), area.bottom};
    p.right = {p.bar.right, area.top, area.right, area.bottom};
    return p;
}

bool Splitter::OnBar(POINT client, const RECT& area) const noexcept {
    const RECT bar = Layout(area).bar;
    return PtInRect(&bar, client) != FALSE;
}

void Splitter::OnPress(HWND frame, POINT client, const RECT& area) noexcept {
    if (!OnBar(client, area)) return;
    grab_ = client.x - Layout(area).bar.left;
    dragging_ = true;
    SetCapture(frame);
}

bool Splitter::OnMove(POINT client, const RECT& area) noexcept {
    if (!dragging_) return false;
    const int position = Clamp(client.x - grab_ - area.left, area);
    if (position == Clamp(position_, area)) return false;
    position_ = position;
    return true;
}

void Splitter::OnRelease() noexcept {
    if (!dragging_) return;
    dragging_ = false;
    ReleaseCapture();
}

}  // namespace viewer
