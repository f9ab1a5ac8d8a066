// Owners of GDI handles: each deletes or restores what it holds when it goes.
#pragma once
#include <windows.h>
#include <optional>
#include <utility>
#include "com/error.h"

namespace mapmodel::gdi {

// A GDI object (pen, brush, bitmap, region) that this code created.
template <class H>
class Owned {
public:
    Owned() noexcept = default;
    explicit Owned(H h) : h_(h) {
        if (!h_) com::raise(E_OUTOFMEMORY, L"Could not create a GDI object");
    }
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Owned& operator=(Owned o) noexcept { std::swap(h_, o.h_); return *this; }
    ~Owned() { if (h_) DeleteObject(h_); }
    H get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

using Pen = Owned<HPEN>;
using Brush = Owned<HBRUSH>;
using Bitmap = Owned<HBITMAP>;
using Region = Owned<HRGN>;

// Everything a DC holds (selected objects, colours, modes, clipping), saved on construction
// and put back on destruction.
class SavedState {
public:
    explicit SavedState(HDC dc) : dc_(dc), level_(SaveDC(dc)) {
        if (!level_) com::raise(E_INVALIDARG, L"The device context is not valid");
    }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;
    ~SavedState() { RestoreDC(dc_, level_); }

private:
    HDC dc_;
    int level_;
};

// One object selected into a DC; the object it replaced comes back on destruction.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() { if (old_) SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory DC compatible with another (or with the screen).
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {
        if (!dc_) com::raise(E_OUTOFMEMORY, L"Could not create a memory device context");
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() { DeleteDC(dc_); }
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// A DC of a window, released on destruction.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
        if (!dc_) com::raise(E_FAIL, L"Could not get the window's device context");
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { ReleaseDC(hwnd_, dc_); }
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A 32-bit top-down DIB section selected into its own memory DC, for drawing off screen and
// reading the pixels back.
class Canvas {
public:
    Canvas(HDC like, long width, long height);
    HDC dc() const noexcept { return memory_.get(); }
    HBITMAP bitmap() const noexcept { return bitmap_.get(); }
    long width() const noexcept { return width_; }
    long height() const noexcept { return height_; }
    // The pixel at (x, y) as 0x00BBGGRR.
    COLORREF pixel(long x, long y) const;
    // Row y as 0x00RRGGBB values, once drawing has been flushed (GdiFlush).
    const DWORD* row(long y) const noexcept { return static_cast<const DWORD*>(bits_) + size_t(y) * size_t(width_); }
    void fill(COLORREF c);
    // Fills [0, width) x [0, height) only.
    void fill(COLORREF c, long width, long height);

private:
    MemoryDC memory_;
    long width_, height_;
    void* bits_ = nullptr;
    Bitmap bitmap_;
    std::optional<Selected> selection_;
};

}  // namespace mapmodel::gdi
