#include "win/dib_canvas.h"
#include <algorithm>
#include <string>

namespace win {

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
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (!dib)
        com::raise(E_OUTOFMEMORY, L"Could not make a bitmap of " + std::to_wstring(width) + L" x " +
                                      std::to_wstring(height) + L" pixels");
    return dib;
}
}  // namespace

DibCanvas::DibCanvas(long width, long height, HDC like)
    : width_(width),
      height_(height),
      memory_(MemoryDC::created(CreateCompatibleDC(like))),
      bitmap_(make_dib(memory_.get(), width, height, &bits_)),
      selection_(memory_.get(), bitmap_.get()) {}

COLORREF DibCanvas::pixel(long x, long y) const {
    GdiFlush();
    const DWORD v = row(y)[x];  // 0x00RRGGBB
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void DibCanvas::fill(COLORREF c, long width, long height) {
    GdiFlush();
    const DWORD v = (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
    width = std::min(width, width_);
    for (long y = 0; y < std::min(height, height_); ++y) {
        DWORD* p = static_cast<DWORD*>(bits_) + size_t(y) * size_t(width_);
        std::fill(p, p + width, v);
    }
}

}  // namespace win
