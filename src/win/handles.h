// Owners of Win32 handles: each closes, deletes, releases or restores what it holds when it goes.
//
// Failures: an owner made from a raw handle takes it as it is, null included, for code that goes
// on after a failed call as GDI itself would (drawing on a null context does nothing). Where a
// failure must be reported, `Owner::created(h)` and the raising constructors below throw
// com::ComError instead.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <utility>
#include "com/error.h"

namespace win {

// A handle of the kind Traits describes: `type`, `null()`, `close(h)` (true on success) and
// `what`, the thing named when making one fails. Move-only.
template <class Traits>
class Handle {
public:
    using type = typename Traits::type;

    Handle() noexcept = default;
    explicit Handle(type h) noexcept : h_(h) {}
    // A handle just made; raises E_OUTOFMEMORY when making it failed.
    static Handle created(type h) {
        if (h == Traits::null()) com::raise(E_OUTOFMEMORY, std::wstring(L"Could not create ") + Traits::what);
        return Handle(h);
    }
    Handle(Handle&& o) noexcept : h_(o.release()) {}
    Handle& operator=(Handle&& o) noexcept {
        reset(o.release());
        return *this;
    }
    ~Handle() { close(); }

    type get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::null(); }
    type release() noexcept { return std::exchange(h_, Traits::null()); }
    void reset(type h = Traits::null()) noexcept {
        close();
        h_ = h;
    }
    // Closes the handle now; false when closing it failed (true when there was none).
    bool close() noexcept {
        type h = release();
        return h == Traits::null() || Traits::close(h);
    }

private:
    type h_ = Traits::null();
};

// The type and the closing of a handle that `destroy` closes; none is null.
template <class H, auto destroy>
struct ClosedBy {
    using type = H;
    static H null() noexcept { return nullptr; }
    static bool close(H h) noexcept { return destroy(h); }
};
template <class H>
struct GdiObjectTraits : ClosedBy<H, DeleteObject> {
    static constexpr const wchar_t* what = L"a GDI object";
};
struct MemoryDCTraits : ClosedBy<HDC, DeleteDC> {
    static constexpr const wchar_t* what = L"a memory device context";
};
struct ImageListTraits : ClosedBy<HIMAGELIST, ImageList_Destroy> {
    static constexpr const wchar_t* what = L"the image list";
};
struct WindowTraits : ClosedBy<HWND, DestroyWindow> {
    static constexpr const wchar_t* what = L"a window";
};
struct FileTraits : ClosedBy<HANDLE, CloseHandle> {
    static constexpr const wchar_t* what = L"a file";
    static HANDLE null() noexcept { return INVALID_HANDLE_VALUE; }
};

using Bitmap = Handle<GdiObjectTraits<HBITMAP>>;
using Brush = Handle<GdiObjectTraits<HBRUSH>>;
using Pen = Handle<GdiObjectTraits<HPEN>>;
using Region = Handle<GdiObjectTraits<HRGN>>;
using Font = Handle<GdiObjectTraits<HFONT>>;
using MemoryDC = Handle<MemoryDCTraits>;  // CreateCompatibleDC
using ImageList = Handle<ImageListTraits>;
using File = Handle<FileTraits>;  // CreateFile; INVALID_HANDLE_VALUE is none
using Window = Handle<WindowTraits>;  // a window no other window destroys (a pop-up of one's own)

// The device context of a window (of the screen for a null window; with `whole_window`, of the
// frame too), released on destruction.
class WindowDC {
public:
    // Raises E_FAIL when the window gives none.
    explicit WindowDC(HWND window, bool whole_window = false);
    // Null when the window gives none, for code that goes on without one.
    static WindowDC try_get(HWND window) noexcept { return WindowDC(window, GetDC(window)); }
    WindowDC() noexcept = default;
    WindowDC(WindowDC&& o) noexcept : window_(o.window_), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC o) noexcept {
        std::swap(window_, o.window_);
        std::swap(dc_, o.dc_);
        return *this;
    }
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    WindowDC(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// An object selected into a device context; the object it replaced is selected back at the end,
// so that the owner of the selected object can delete it. A null context or object selects nothing.
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

// Everything a device context holds (selected objects, colours, modes, clipping), saved on
// construction and put back on destruction. Raises E_INVALIDARG for a context that is not valid.
class SavedState {
public:
    explicit SavedState(HDC dc);
    ~SavedState() { RestoreDC(dc_, level_); }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    HDC dc_;
    int level_;
};

}  // namespace win
