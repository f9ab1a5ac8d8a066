// DibCanvas: a 32-bit top-down DIB section selected into its own memory device context, for
// drawing off screen and reading the pixels back.
#pragma once
#include <windows.h>
#include "win/handles.h"

namespace win {

class DibCanvas {
public:
    // A canvas compatible with `like` (the screen when null). Raises E_INVALIDARG for an empty
    // size and E_OUTOFMEMORY when GDI cannot make it.
    DibCanvas(long width, long height, HDC like = nullptr);
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const noexcept { return memory_.get(); }
    HBITMAP bitmap() const noexcept { return bitmap_.get(); }
    long width() const noexcept { return width_; }
    long height() const noexcept { return height_; }
    // The pixel at (x, y) as 0x00BBGGRR.
    COLORREF pixel(long x, long y) const;
    // Row y as 0x00RRGGBB values (the top byte is not meant), once drawing has been flushed (GdiFlush).
    const DWORD* row(long y) const noexcept { return static_cast<const DWORD*>(bits_) + size_t(y) * size_t(width_); }
    void fill(COLORREF c) { fill(c, width_, height_); }
    // Fills [0, width) x [0, height) only.
    void fill(COLORREF c, long width, long height);

private:
    long width_, height_;
    MemoryDC memory_;
    void* bits_ = nullptr;
    Bitmap bitmap_;
    Selection selection_;
};

}  // namespace win
