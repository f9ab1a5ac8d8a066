// Canvas: a white 32-bit bitmap selected into a memory device context, to draw on and read
// the pixels back.
#pragma once
#include <windows.h>

namespace test {

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixel at (x, y) as 0x00BBGGRR.
    COLORREF pixel(int x, int y) const;
    // Pixels of a rectangle ([left, right) x [top, bottom), clipped to the canvas) that are not
    // white, and that have this colour.
    int ink(const RECT& r) const;
    int count(const RECT& r, COLORREF c) const;
    int ink() const { return ink(RECT{0, 0, width_, height_}); }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    const DWORD* bits_ = nullptr;
};

}  // namespace test
