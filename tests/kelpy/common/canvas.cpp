#include "kelpy/common/canvas.h"
#include <algorithm>

namespace test {

Canvas::Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<const DWORD*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF Canvas::pixel(int x, int y) const {
    GdiFlush();
    const DWORD v = bits_[size_t(y) * size_t(width_) + size_t(x)];  // 0x00RRGGBB
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int Canvas::count(const RECT& r, COLORREF c) const {
    int n = 0;
    for (int y = std::max(0, int(r.top)); y < std::min(height_, int(r.bottom)); ++y)
        for (int x = std::max(0, int(r.left)); x < std::min(width_, int(r.right)); ++x)
            if (pixel(x, y) == c) ++n;
    return n;
}

int Canvas::ink(const RECT& r) const {
    const int w = std::max(0, std::min(width_, int(r.right)) - std::max(0, int(r.left)));
    const int h = std::max(0, std::min(height_, int(r.bottom)) - std::max(0, int(r.top)));
    return w * h - count(r, RGB(255, 255, 255));
}

}  // namespace test
