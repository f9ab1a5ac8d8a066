#include "mapmodel/symbols/gdi.h"
#include <algorithm>

namespace mapmodel::gdi {

namespace {
HBITMAP make_dib(HDC dc, long width, long height, void** bits) {
    if (width <= 0 || height <= 0) com::raise(E_INVALIDARG, L"A bitmap needs a positive width and height");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}
}  // namespace

Canvas::Canvas(HDC like, long width, long height)
    : memory_(like), width_(width), height_(height), bitmap_(make_dib(memory_.get(), width, height, &bits_)) {
    selection_.emplace(memory_.get(), bitmap_.get());
}

COLORREF Canvas::pixel(long x, long y) const {
    GdiFlush();
    DWORD v = static_cast<const DWORD*>(bits_)[size_t(y) * size_t(width_) + size_t(x)];  // 0x00RRGGBB
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void Canvas::fill(COLORREF c) { fill(c, width_, height_); }

void Canvas::fill(COLORREF c, long width, long height) {
    GdiFlush();
    DWORD v = (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
    width = std::min(width, width_);
    for (long y = 0; y < std::min(height, height_); ++y) {
        DWORD* p = static_cast<DWORD*>(bits_) + size_t(y) * size_t(width_);
        std::fill(p, p + width, v);
    }
}

}  // namespace mapmodel::gdi
