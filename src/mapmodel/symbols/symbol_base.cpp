#include "mapmodel/symbols/symbol_base.h"
#include <algorithm>
#include <mutex>

namespace mapmodel {

namespace {
// Kept for the life of the library; released when it unloads.
struct Scratch {
    std::mutex lock;
    std::optional<win::DibCanvas> canvases[2];
};
Scratch& scratch() {
    static Scratch s;
    return s;
}
}  // namespace

double valid_points(double points, const wchar_t* what) {
    if (!(finite(points, what) >= 0) || points > 1000)
        com::raise(E_INVALIDARG, std::wstring(what) + L" must be from 0 to 1000 points");
    return points;
}

ScratchCanvases::ScratchCanvases(long width, long height) {
    Scratch& s = scratch();
    s.lock.lock();
    try {
        for (auto& c : s.canvases) {
            if (c && c->width() >= width && c->height() >= height) continue;
            long w = std::max(width, c ? c->width() : 64L), h = std::max(height, c ? c->height() : 64L);
            c.reset();
            c.emplace(w, h);
        }
    } catch (...) {
        s.lock.unlock();
        throw;
    }
}

ScratchCanvases::~ScratchCanvases() { scratch().lock.unlock(); }

win::DibCanvas& ScratchCanvases::canvas(int i) { return *scratch().canvases[i]; }

PixelBox scan_painted(const win::DibCanvas& on_white, const win::DibCanvas& on_black, long width, long height) {
    GdiFlush();
    PixelBox box;
    for (long y = 0; y < height; ++y) {
        const DWORD* white = on_white.row(y);
        const DWORD* black = on_black.row(y);
        for (long x = 0; x < width; ++x) {
            if ((white[x] & 0xFFFFFF) != 0xFFFFFF || (black[x] & 0xFFFFFF) != 0) box.add({x, y, x + 1, y + 1});
        }
    }
    return box;
}

}  // namespace mapmodel
