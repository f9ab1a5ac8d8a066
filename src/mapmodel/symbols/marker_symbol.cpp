#include "mapmodel/symbols/marker_symbol.h"
#include <algorithm>
#include <cmath>
#include "mapmodel/display/color.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IMarkerSymbol);

class MarkerSession final : public MarkSession {
public:
    MarkerSession(HDC dc, const Mapping& m, const MarkerSymbol::Settings& s)
        : MarkSession(dc, m, s.size),
          s_(s),
          pen_(win::Pen::created(CreatePen(PS_SOLID, 1, s.color))),
          brush_(win::Brush::created(CreateSolidBrush(s.color))) {
        SelectObject(dc, pen_.get());
        SelectObject(dc, brush_.get());
    }
private:
    void draw_mark(const PixelBox& b) override {
        long s = b.width(), mid_x = b.left + s / 2, mid_y = b.top + s / 2;
        switch (s_.style) {
        case MarkerSquare:
            Rectangle(dc_, b.left, b.top, b.right, b.bottom);
            break;
        case MarkerCross: {
            long t = std::max(1L, s / 5), off = (s - t) / 2;
            RECT h{b.left, b.top + off, b.right, b.top + off + t};
            RECT v{b.left + off, b.top, b.left + off + t, b.bottom};
            FillRect(dc_, &h, brush_.get());
            FillRect(dc_, &v, brush_.get());
            break;
        }
        case MarkerX: {
            POINT a[2] = {{b.left, b.top}, {b.right - 1, b.bottom - 1}};
            POINT c[2] = {{b.left, b.bottom - 1}, {b.right - 1, b.top}};
            for (auto* line : {a, c}) {
                Polyline(dc_, line, 2);
                SetPixel(dc_, line[1].x, line[1].y, s_.color);  // a line leaves out its last pixel
            }
            break;
        }
        case MarkerDiamond: {
            POINT d[4] = {{mid_x, b.top}, {b.right - 1, mid_y}, {mid_x, b.bottom - 1}, {b.left, mid_y}};
            Polygon(dc_, d, 4);
            break;
        }
        default:
            Ellipse(dc_, b.left, b.top, b.right, b.bottom);
            break;
        }
    }

private:
    MarkerSymbol::Settings s_;
    win::Pen pen_;
    win::Brush brush_;
};

MarkerStyle valid_marker_style(MarkerStyle s) {
    return one_of(s, {MarkerCircle, MarkerSquare, MarkerCross, MarkerX, MarkerDiamond}, L"marker style");
}
}  // namespace

PixelBox mark_box(const Mapping& m, Vec at, double size) {
    long s = size > 0 ? std::max(1L, std::lround(m.pixels(size))) : 0;
    if (!s) return {};
    Vec c = m.to_device(at);
    long left = pixel(c.x - double(s) / 2), top = pixel(c.y - double(s) / 2);
    return {left, top, left + s, top + s};
}

std::unique_ptr<Session> MarkerSymbol::begin(HDC dc, const Mapping& m) const {
    return std::make_unique<MarkerSession>(dc, m, s_);
}

Estimate MarkerSymbol::estimate(const Mapping& m, const Shape& s) const {
    PixelBox all;
    for (Vec at : anchors_of(s)) all.add(mark_box(m, at, s_.size).grown(2));
    return all;
}

STDMETHODIMP MarkerSymbol::get_Color(IColor** c) { return boundary(kIid, [&] { give(c, make_color(s_.color)); }); }
STDMETHODIMP MarkerSymbol::putref_Color(IColor* c) {
    return boundary(kIid, [&] { s_.color = color_of(c, L"The colour"); });
}
STDMETHODIMP MarkerSymbol::get_Size(double* points) { return boundary(kIid, [&] { out(points) = s_.size; }); }
STDMETHODIMP MarkerSymbol::put_Size(double points) {
    return boundary(kIid, [&] { s_.size = valid_points(points, L"The size"); });
}
STDMETHODIMP MarkerSymbol::get_Style(MarkerStyle* s) { return boundary(kIid, [&] { out(s) = s_.style; }); }
STDMETHODIMP MarkerSymbol::put_Style(MarkerStyle s) {
    return boundary(kIid, [&] { s_.style = valid_marker_style(s); });
}

}  // namespace mapmodel
