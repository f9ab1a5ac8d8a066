#include "kelpy/draw/symbol_likeness.h"
#include <cmath>
#include <functional>
#include "com/error.h"
#include "com/ptr.h"

namespace kelpy::draw {

namespace {
enum Kind : int { SolidFill = 1, GradientFill, Line, Marker, Chart };

using com::check;
using com::ComPtr;

// Collects the settings in a fixed order per kind; an absent object (a colour or an outline
// that is Nothing) is written as a 0, a present one as a 1 followed by its settings.
class Reader {
public:
    explicit Reader(std::vector<double>& out) : out_(out) {}
    void number(double v) {
        if (std::isnan(v)) comparable_ = false;
        out_.push_back(v);
    }
    // False when a setting is not a number: no two readings of it would ever compare equal.
    bool comparable() const { return comparable_; }
    void color(IColor* c) {
        number(c ? 1 : 0);
        if (!c) return;
        LONG rgb = 0;
        check(c->get_RGB(&rgb));
        number(double(rgb));
    }
    template <class I>
    void color_of(I* owner) {
        ComPtr<IColor> c;
        check(owner->get_Color(c.put()));
        color(c.get());
    }
    void line(ILineSymbol* l) {
        number(l ? 1 : 0);
        if (!l) return;
        color_of(l);
        double width = 0;
        check(l->get_Width(&width));
        LineStyle style{};
        check(l->get_Style(&style));
        number(width);
        number(double(style));
    }
    void fill(IFillSymbol* f) {
        color_of(f);
        ComPtr<ILineSymbol> outline;
        check(f->get_Outline(outline.put()));
        line(outline.get());
    }
    // False when the ramp has too many colours to read.
    bool ramp(IColorRamp* r) {
        number(r ? 1 : 0);
        if (!r) return true;
        LONG size = 0;
        check(r->get_Size(&size));
        if (size > SymbolLikeness::most_colours) return false;
        number(double(size));
        for (LONG i = 0; i < size; ++i) {
            ComPtr<IColor> c;
            check(r->get_Color(i, c.put()));
            color(c.get());
        }
        return true;
    }

private:
    std::vector<double>& out_;
    bool comparable_ = true;
};

bool read_gradient(Reader& r, IGradientFillSymbol* g) {
    r.fill(g);
    LONG style = 0, intervals = 0;
    double angle = 0;
    check(g->get_Style(&style));
    check(g->get_Angle(&angle));
    check(g->get_IntervalCount(&intervals));
    r.number(double(style));
    r.number(angle);
    r.number(double(intervals));
    ComPtr<IColorRamp> ramp;
    check(g->get_ColorRamp(ramp.put()));
    return r.ramp(ramp.get());
}

void read_solid(Reader& r, ISolidFillSymbol* s) {
    r.fill(s);
    FillStyle style{};
    check(s->get_Style(&style));
    r.number(double(style));
}

void read_marker(Reader& r, IMarkerSymbol* m) {
    r.color_of(m);
    double size = 0;
    MarkerStyle style{};
    check(m->get_Size(&size));
    check(m->get_Style(&style));
    r.number(size);
    r.number(double(style));
}

bool read_chart(Reader& r, IChartSymbol* c) {
    double size = 0;
    LONG slices = 0;
    check(c->get_Size(&size));
    check(c->get_SliceCount(&slices));
    if (slices > SymbolLikeness::most_colours) return false;
    r.number(size);
    r.number(double(slices));
    for (LONG i = 0; i < slices; ++i) {
        ComPtr<IColor> color;
        check(c->get_SliceColor(i, color.put()));
        r.color(color.get());
        double weight = 0;
        check(c->get_SliceWeight(i, &weight));
        r.number(weight);
    }
    return true;
}
}  // namespace

size_t SymbolLikeness::hash() const noexcept {
    size_t h = std::hash<int>()(kind);
    for (unsigned long part : {type.Data1, (unsigned long)type.Data2, (unsigned long)type.Data3})
        h = h * 1000003u ^ std::hash<unsigned long>()(part);
    // Equal settings hash alike (0.0 and -0.0 compare and hash equal); others may collide,
    // which costs only a comparison.
    for (double v : settings) h = h * 1000003u ^ std::hash<double>()(v);
    return h;
}

std::optional<SymbolLikeness> LikenessOf(ISymbol* symbol) {
    if (!symbol) return std::nullopt;
    const ComPtr<ISymbol> held(symbol);
    const auto gradient = held.query<IGradientFillSymbol>();
    const auto solid = held.query<ISolidFillSymbol>();
    const auto line = held.query<ILineSymbol>();
    const auto marker = held.query<IMarkerSymbol>();
    const auto chart = held.query<IChartSymbol>();
    if (int(bool(gradient)) + bool(solid) + bool(line) + bool(marker) + bool(chart) != 1) return std::nullopt;

    SymbolLikeness like;
    if (const auto persist = held.query<IPersist>()) {
        if (FAILED(persist->GetClassID(&like.type))) return std::nullopt;
    }
    Reader r(like.settings);
    if (gradient) {
        like.kind = GradientFill;
        if (!read_gradient(r, gradient.get())) return std::nullopt;
    } else if (solid) {
        like.kind = SolidFill;
        read_solid(r, solid.get());
    } else if (line) {
        like.kind = Line;
        r.line(line.get());
    } else if (marker) {
        like.kind = Marker;
        read_marker(r, marker.get());
    } else {
        like.kind = Chart;
        if (!read_chart(r, chart.get())) return std::nullopt;
    }
    if (!r.comparable()) return std::nullopt;
    return like;
}

}  // namespace kelpy::draw
