// Stand-ins for the container life cycle, until the container protocol provides it: the tree
// fills the control on every resize, the control paints nothing of its own, and the item images
// are simple pictures drawn here in code (the real ones are resources of the library).
#include <array>
#include "com/error.h"
#include "kelpy/control/toc.h"

namespace kelpy {

void Toc::UserControl_Resize() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    tvwTOC.Move(0, 0, client.right, client.bottom);
}

void Toc::UserControl_Paint(HDC) {}

namespace {
constexpr COLORREF magenta = RGB(255, 0, 255);
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF grey = RGB(132, 130, 132);
constexpr COLORREF light_grey = RGB(198, 198, 198);
constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF yellow = RGB(255, 255, 0);

// A 16 x 16 picture on a magenta (transparent) background.
class Picture {
public:
    Picture() { pixels_.fill(magenta); }
    void set(int x, int y, COLORREF c) { pixels_[size_t(y * 16 + x)] = c; }
    void fill(int x0, int y0, int x1, int y1, COLORREF c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) set(x, y, c);
    }
    void box(int x0, int y0, int x1, int y1, COLORREF edge, COLORREF inside) {
        fill(x0, y0, x1, y1, edge);
        fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1, inside);
    }
    void tick(int x0, int y0, COLORREF c) {
        for (int i = 0; i < 3; ++i) { set(x0 + i, y0 + i, c); set(x0 + i, y0 + i + 1, c); }
        for (int i = 0; i < 4; ++i) { set(x0 + 3 + i, y0 + 1 - i, c); set(x0 + 3 + i, y0 + 2 - i, c); }
    }
    // A bitmap of the picture (the caller owns it).
    HBITMAP bitmap() const {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 16;
        info.bmiHeader.biHeight = -16;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bmp) com::raise(E_OUTOFMEMORY, L"Could not make an item picture");
        auto* out = static_cast<DWORD*>(bits);
        for (size_t i = 0; i < pixels_.size(); ++i) {
            COLORREF c = pixels_[i];
            out[i] = (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
        }
        return bmp;
    }

private:
    std::array<COLORREF, 256> pixels_;
};

Picture plus_or_minus(bool plus) {
    Picture p;
    p.box(3, 3, 11, 11, grey, white);
    p.fill(5, 7, 9, 7, black);
    if (plus) p.fill(7, 5, 7, 9, black);
    return p;
}

Picture check_box(bool checked) {
    Picture p;
    p.box(2, 2, 12, 12, black, white);
    if (checked) p.tick(4, 6, black);
    return p;
}

Picture disconnected() {
    Picture p;
    p.box(1, 2, 11, 12, RGB(132, 132, 132), white);
    p.tick(3, 6, light_grey);
    p.fill(13, 2, 14, 9, red);
    p.fill(13, 11, 14, 12, red);
    return p;
}

Picture root() {
    Picture p;
    for (int i = 0; i < 3; ++i) p.box(1 + 2 * i, 1 + 2 * i, 10 + 2 * i, 11 + 2 * i, black, yellow);
    return p;
}
}  // namespace

void Toc::LoadItemImages() {
    const std::pair<const wchar_t*, Picture> pictures[] = {
        {L"plus", plus_or_minus(true)},   {L"minus", plus_or_minus(false)}, {L"disconnected", disconnected()},
        {L"checked", check_box(true)},    {L"unchecked", check_box(false)}, {L"root", root()},
    };
    for (const auto& [key, picture] : pictures) {
        HBITMAP bmp = picture.bitmap();
        try {
            imlTOC.Add(key, bmp);
        } catch (...) {
            DeleteObject(bmp);
            throw;
        }
        DeleteObject(bmp);
    }
}

}  // namespace kelpy
