// Canvas: a white canvas to draw on and read the pixels back, with counts of its pixels.
#pragma once
#include <windows.h>
#include "win/dib_canvas.h"

namespace test {

class Canvas : public win::DibCanvas {
public:
    Canvas(int width, int height) : DibCanvas(width, height) { fill(RGB(255, 255, 255)); }

    // Pixels of a rectangle ([left, right) x [top, bottom), clipped to the canvas) that are not
    // white, and that have this colour.
    int ink(const RECT& r) const;
    int count(const RECT& r, COLORREF c) const;
    int ink() const { return ink(RECT{0, 0, width(), height()}); }
};

}  // namespace test
