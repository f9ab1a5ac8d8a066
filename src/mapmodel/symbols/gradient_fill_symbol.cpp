#include "mapmodel/symbols/gradient_fill_symbol.h"
#include <algorithm>
#include <cmath>
#include <numbers>
#include "mapmodel/display/color_ramp.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IGradientFillSymbol);
constexpr long kMaxIntervals = 1000;

// The colours of the bands, the first colour's first: the ramp's at even steps, or the symbol's
// colour alone without a ramp.
std::vector<COLORREF> band_colors(IColorRamp* ramp, COLORREF color, const GradientFillSymbol::Settings& s) {
    std::vector<COLORREF> colors;
    long n = ramp ? s.intervals : 1;
    for (long k = 0; k < n; ++k)
        colors.push_back(ramp ? ramp_color_at(ramp, n == 1 ? 0.0 : double(k) / double(n - 1)) : color);
    return colors;
}

class GradientSession final : public FillSession {
public:
    GradientSession(HDC dc, const Mapping& m, ILineSymbol* outline, IColorRamp* ramp, COLORREF color,
                    const GradientFillSymbol::Settings& s)
        : FillSession(dc, m, outline), colors_(band_colors(ramp, color, s)) {
        // The ramp's direction on the device (the mapping may scale and flip the axes).
        double a = s.angle * std::numbers::pi / 180.0;
        Vec o = m.to_device({0, 0}), d = m.to_device({std::cos(a), std::sin(a)});
        double dx = d.x - o.x, dy = d.y - o.y, len = std::hypot(dx, dy);
        ux_ = len > 0 ? dx / len : 1.0;
        uy_ = len > 0 ? dy / len : 0.0;
        SelectObject(dc, GetStockObject(DC_BRUSH));
    }

protected:
    void fill(const DeviceParts& rings) override {
        // Clip to the area (the clip region is in device units), then lay the bands across it.
        const std::vector<POINT>& ring = rings.points;
        std::vector<POINT> device = ring;
        LPtoDP(dc_, device.data(), int(device.size()));
        const win::Region area = win::Region::created(
            CreatePolyPolygonRgn(device.data(), rings.sizes.data(), int(rings.sizes.size()), ALTERNATE));
        win::SavedState clip(dc_);
        ExtSelectClipRgn(dc_, area.get(), RGN_AND);

        double vx = -uy_, vy = ux_;
        double pmin = 1e300, pmax = -1e300, qmin = 1e300, qmax = -1e300;
        for (POINT p : ring) {
            double pu = p.x * ux_ + p.y * uy_, pv = p.x * vx + p.y * vy;
            pmin = std::min(pmin, pu);
            pmax = std::max(pmax, pu);
            qmin = std::min(qmin, pv);
            qmax = std::max(qmax, pv);
        }
        pmin -= 1, pmax += 1, qmin -= 1, qmax += 1;
        auto at = [&](double p, double q) { return POINT{pixel(p * ux_ + q * vx), pixel(p * uy_ + q * vy)}; };
        const size_t n = colors_.size();
        const double step = (pmax - pmin) / double(n);
        for (size_t k = 0; k < n; ++k) {
            double hi = pmax - step * double(k), lo = k + 1 == n ? pmin : pmax - step * double(k + 1);
            POINT band[4] = {at(hi, qmin), at(hi, qmax), at(lo, qmax), at(lo, qmin)};
            SetDCBrushColor(dc_, colors_[k]);
            Polygon(dc_, band, 4);
        }
    }

private:
    std::vector<COLORREF> colors_;  // first colour first
    double ux_ = 1, uy_ = 0;
};
}  // namespace

com::ComPtr<GradientFillSymbol> GradientFillSymbol::duplicate() const {
    auto copy = GradientFillSymbol::create();
    copy->color_ = color_;
    copy->outline_ = copy_line(outline_.get());
    copy->ramp_ = clone_of(ramp_.get());
    copy->s_ = s_;
    return copy;
}

std::optional<Likeness> GradientFillSymbol::likeness() const {
    Likeness like{Likeness::GradientFill, {double(s_.style), s_.angle, double(s_.intervals), ramp_ ? 1.0 : 0.0}};
    add_outline(like, 4, outline_.get());
    return like;
}

void GradientFillSymbol::write_likeness(LikenessWriter& w) const {
    w.number(Likeness::GradientFill);
    w.number(double(s_.style));
    w.number(s_.angle);
    w.line(outline_.get());
    const std::vector<COLORREF> colors = band_colors(ramp_.get(), color_, s_);
    w.number(double(colors.size()));
    for (COLORREF c : colors) w.color(c);
}

std::unique_ptr<Session> GradientFillSymbol::begin(HDC dc, const Mapping& m) const {
    return std::make_unique<GradientSession>(dc, m, outline_.get(), ramp_.get(), color_, s_);
}

STDMETHODIMP GradientFillSymbol::get_ColorRamp(IColorRamp** ramp) { return boundary(kIid, [&] { give(ramp, ramp_); }); }
STDMETHODIMP GradientFillSymbol::putref_ColorRamp(IColorRamp* ramp) { return boundary(kIid, [&] { ramp_ = ramp; }); }

STDMETHODIMP GradientFillSymbol::get_Style(long* s) { return boundary(kIid, [&] { out(s) = s_.style; }); }
STDMETHODIMP GradientFillSymbol::put_Style(long s) {
    return boundary(kIid, [&] {
        if (s != 0) com::raise(E_INVALIDARG, L"The gradient style must be 0 (linear), the only style drawn");
        s_.style = s;
    });
}

STDMETHODIMP GradientFillSymbol::get_Angle(double* degrees) { return boundary(kIid, [&] { out(degrees) = s_.angle; }); }
STDMETHODIMP GradientFillSymbol::put_Angle(double degrees) {
    return boundary(kIid, [&] { s_.angle = finite(degrees, L"The angle"); });
}

STDMETHODIMP GradientFillSymbol::get_IntervalCount(long* n) { return boundary(kIid, [&] { out(n) = s_.intervals; }); }
STDMETHODIMP GradientFillSymbol::put_IntervalCount(long n) {
    return boundary(kIid, [&] {
        if (n < 1 || n > kMaxIntervals)
            com::raise(E_INVALIDARG, L"The number of bands must be from 1 to " + std::to_wstring(kMaxIntervals));
        s_.intervals = n;
    });
}

}  // namespace mapmodel
