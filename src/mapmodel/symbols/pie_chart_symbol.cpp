#include "mapmodel/symbols/pie_chart_symbol.h"
#include <cmath>
#include <numbers>
#include "mapmodel/display/color.h"
#include "mapmodel/symbols/marker_symbol.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IChartSymbol);
constexpr COLORREF kEdge = RGB(64, 64, 64);

class PieSession final : public MarkSession {
public:
    PieSession(HDC dc, const Mapping& m, const PieChartSymbol::Settings& s)
        : MarkSession(dc, m, s.size), s_(s), pen_(win::Pen::created(CreatePen(PS_SOLID, 1, kEdge))) {
        SelectObject(dc, pen_.get());
        SelectObject(dc, GetStockObject(DC_BRUSH));
    }
private:
    void draw_mark(const PixelBox& b) override {
        double total = 0;
        size_t used = 0;
        for (const auto& slice : s_.slices) {
            total += slice.weight;
            if (slice.weight > 0) ++used;
        }
        if (used <= 1) {
            // One slice is the whole circle; none leaves it empty.
            const PieChartSymbol::Slice* only = nullptr;
            for (const auto& slice : s_.slices)
                if (slice.weight > 0) only = &slice;
            win::Selection hollow(dc_, only ? GetStockObject(DC_BRUSH) : GetStockObject(NULL_BRUSH));
            if (only) SetDCBrushColor(dc_, only->color);
            Ellipse(dc_, b.left, b.top, b.right, b.bottom);
            return;
        }
        const double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0, r = double(b.width());
        auto radial = [&](double degrees) {
            double a = degrees * std::numbers::pi / 180.0;
            return POINT{pixel(cx + r * std::cos(a)), pixel(cy - r * std::sin(a))};
        };
        double start = 90.0;
        for (const auto& slice : s_.slices) {
            if (slice.weight <= 0) continue;
            double sweep = 360.0 * slice.weight / total;
            POINT p1 = radial(start), p2 = radial(start + sweep);
            SetDCBrushColor(dc_, slice.color);
            Pie(dc_, b.left, b.top, b.right, b.bottom, p1.x, p1.y, p2.x, p2.y);
            start += sweep;
        }
    }

private:
    PieChartSymbol::Settings s_;
    win::Pen pen_;
};
}  // namespace

std::unique_ptr<Session> PieChartSymbol::begin(HDC dc, const Mapping& m) const {
    return std::make_unique<PieSession>(dc, m, s_);
}

Estimate PieChartSymbol::estimate(const Mapping& m, const Shape& s) const {
    PixelBox all;
    for (Vec at : anchors_of(s)) all.add(mark_box(m, at, s_.size).grown(2));
    return all;
}

std::optional<Likeness> PieChartSymbol::likeness() const {
    Likeness like{Likeness::PieChart, {s_.size, double(s_.slices.size())}};
    if (s_.slices.size() + 2 > std::size(like.settings)) return std::nullopt;
    for (size_t i = 0; i < s_.slices.size(); ++i) like.settings[i + 2] = s_.slices[i].weight;
    return like;
}

void PieChartSymbol::write_likeness(LikenessWriter& w) const {
    w.number(Likeness::PieChart);
    w.number(s_.size);
    w.number(double(s_.slices.size()));
    for (const Slice& slice : s_.slices) {
        w.color(slice.color);
        w.number(slice.weight);
    }
}

STDMETHODIMP PieChartSymbol::get_Size(double* points) { return boundary(kIid, [&] { out(points) = s_.size; }); }
STDMETHODIMP PieChartSymbol::put_Size(double points) {
    return boundary(kIid, [&] { s_.size = valid_points(points, L"The size"); });
}

STDMETHODIMP PieChartSymbol::AddSlice(IColor* color, double weight) {
    return boundary(kIid, [&] {
        COLORREF c = color_of(color, L"The slice's colour");
        if (!(finite(weight, L"The slice's weight") >= 0)) com::raise(E_INVALIDARG, L"A slice's weight cannot be negative");
        s_.slices.push_back({c, weight});
    });
}

STDMETHODIMP PieChartSymbol::get_SliceCount(long* n) { return boundary(kIid, [&] { out(n) = long(s_.slices.size()); }); }

STDMETHODIMP PieChartSymbol::get_SliceColor(long index, IColor** c) {
    return boundary(kIid, [&] {
        check_index(index, s_.slices.size(), L"the pie");
        give(c, make_color(s_.slices[size_t(index)].color));
    });
}

STDMETHODIMP PieChartSymbol::get_SliceWeight(long index, double* weight) {
    return boundary(kIid, [&] {
        check_index(index, s_.slices.size(), L"the pie");
        out(weight) = s_.slices[size_t(index)].weight;
    });
}

}  // namespace mapmodel
