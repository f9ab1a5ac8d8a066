// Pictures of the host: the pixels of a canvas, what a window shows, and
// PNG files written with the Windows Imaging Component's PNG encoder.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "win/dib_canvas.h"

namespace host {

// A picture of 32-bit pixels (0x00RRGGBB), rows top-down.
struct Pixels {
    int width = 0, height = 0;
    std::vector<DWORD> data;
    DWORD at(int x, int y) const { return data[size_t(y) * size_t(width) + size_t(x)]; }
};

// What has been drawn on the canvas so far.
Pixels pixels_of(const win::DibCanvas& canvas);

// What a window shows: its client area, or with `whole_window` the whole window with its frame,
// caption and menu bar, copied from the window's device context. The window must be painted and
// not covered by other windows.
Pixels window_pixels(HWND window, bool whole_window = false);

// Writes the picture as a 24-bit PNG file. Throws com::ComError.
void write_png(const Pixels& picture, const std::wstring& path);
// Reads a PNG (or any picture WIC decodes) back; for checks. Throws com::ComError.
Pixels read_picture(const std::wstring& path);

}  // namespace host
