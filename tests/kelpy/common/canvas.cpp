#include "kelpy/common/canvas.h"
#include <algorithm>

namespace test {

int Canvas::count(const RECT& r, COLORREF c) const {
    int n = 0;
    for (int y = std::max(0, int(r.top)); y < std::min(int(height()), int(r.bottom)); ++y)
        for (int x = std::max(0, int(r.left)); x < std::min(int(width()), int(r.right)); ++x)
            if (pixel(x, y) == c) ++n;
    return n;
}

int Canvas::ink(const RECT& r) const {
    const int w = std::max(0, std::min(int(width()), int(r.right)) - std::max(0, int(r.left)));
    const int h = std::max(0, std::min(int(height()), int(r.bottom)) - std::max(0, int(r.top)));
    return w * h - count(r, RGB(255, 255, 255));
}

}  // namespace test
