// Pictures of the host: a 32-bit DIB section to draw into, its pixels, what a window shows, and
// PNG files written with the Windows Imaging Component's PNG encoder.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace host {

// A picture of 32-bit pixels (0x00RRGGBB), rows top-down.
struct Pixels {
    int width = 0, height = 0;
    std::vector<DWORD> data;
    DWORD at(int x, int y) const { return data[size_t(y) * size_t(width) + size_t(x)]; }
};

// A memory device context with a top-down 32-bit DIB section selected into it; the DIB is
// deselected and both are deleted at the end.
class DibCanvas {
public:
    DibCanvas(int width, int height);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const noexcept { return dc_; }
    // What has been drawn so far.
    Pixels pixels() const;

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

// What a window shows: its client area, or with `whole_window` the whole window with its frame,
// caption and menu bar, copied from the window's device context. The window must be painted and
// not covered by other windows.
Pixels window_pixels(HWND window, bool whole_window = false);

// Writes the picture as a 24-bit PNG file. Throws com::ComError.
void write_png(const Pixels& picture, const std::wstring& path);
// Reads a PNG (or any picture WIC decodes) back; for checks. Throws com::ComError.
Pixels read_picture(const std::wstring& path);

}  // namespace host
