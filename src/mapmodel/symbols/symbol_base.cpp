#include "mapmodel/symbols/symbol_base.h"

namespace mapmodel {

PixelBox scan_painted(const gdi::Canvas& on_white, const gdi::Canvas& on_black) {
    GdiFlush();
    PixelBox box;
    for (long y = 0; y < on_white.height(); ++y) {
        const DWORD* white = on_white.row(y);
        const DWORD* black = on_black.row(y);
        for (long x = 0; x < on_white.width(); ++x) {
            if ((white[x] & 0xFFFFFF) != 0xFFFFFF || (black[x] & 0xFFFFFF) != 0) box.add({x, y, x + 1, y + 1});
        }
    }
    return box;
}

}  // namespace mapmodel
