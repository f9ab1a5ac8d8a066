// Owners of the GDI handles that item drawing and measuring make: each one gives back or
// deletes what it holds when it goes, also when a symbol's drawing fails half-way. A failed
// GDI call leaves a null handle, which the owner skips; the drawing code goes on with it as
// GDI itself would (drawing on a null context does nothing).
#pragma once
#include <windows.h>
#include <utility>

namespace kelpy::draw {

// A memory device context compatible with another.
class MemoryDC {
public:
    explicit MemoryDC(HDC like) noexcept : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// A bitmap compatible with a device context.
class CompatibleBitmap {
public:
    CompatibleBitmap(HDC like, int width, int height) noexcept
        : bitmap_(CreateCompatibleBitmap(like, width, height)) {}
    ~CompatibleBitmap() {
        if (bitmap_) DeleteObject(bitmap_);
    }
    CompatibleBitmap(const CompatibleBitmap&) = delete;
    CompatibleBitmap& operator=(const CompatibleBitmap&) = delete;
    HBITMAP get() const noexcept { return bitmap_; }

private:
    HBITMAP bitmap_;
};

// An object selected into a device context; the object it replaced is selected back at the
// end, so that the owner of the selected object can delete it.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A device context of a window, released at the end.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace kelpy::draw
