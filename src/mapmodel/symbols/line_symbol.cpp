#include "mapmodel/symbols/line_symbol.h"
#include "mapmodel/display/color.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(ILineSymbol);
// Answered only by LineSymbol, with itself: the way from an interface back to our own object.
constexpr GUID IID_LineSymbolItself = {0x3f0b6a52, 0x8d4e, 0x4b1c, {0xa7, 0x63, 0x5e, 0x21, 0x90, 0xc4, 0x7d, 0x1a}};

class LineSession final : public Session {
public:
    LineSession(HDC dc, const Mapping& m, const Stroke& s)
        : Session(dc, m), draws_(s.draws(m)), pen_(draws_ ? s.pen(m) : win::Pen()) {
        if (draws_) SelectObject(dc, pen_.get());
    }
    void draw(const Shape& shape) override {
        if (!draws_ || !(is_path(shape) || is_area(shape))) return;
        const bool closed = is_area(shape);
        stroke_parts(dc_, device_parts(mapping_, shape, 2), closed);
    }

private:
    bool draws_;
    win::Pen pen_;
};
}  // namespace

com::ComPtr<ILineSymbol> copy_line(ILineSymbol* line) {
    if (!line) return nullptr;
    com::ComPtr<ILineSymbol> l(line);
    if (l.query<ICloneable>()) return clone_of(line);
    return LineSymbol::create(stroke_of(line)).as<ILineSymbol>();
}

com::ComPtr<LineSymbol> LineSymbol::of(ILineSymbol* line) noexcept {
    void* self = nullptr;
    if (!line || FAILED(line->QueryInterface(IID_LineSymbolItself, &self)) || !self) return nullptr;
    return com::ComPtr<LineSymbol>::attach(static_cast<LineSymbol*>(self));
}

void* LineSymbol::query_more(REFIID riid) noexcept {
    return riid == IID_LineSymbolItself ? static_cast<LineSymbol*>(this) : nullptr;
}

std::optional<Likeness> LineSymbol::likeness() const {
    return Likeness{Likeness::Line, {stroke_.width, double(stroke_.style)}};
}

void LineSymbol::write_likeness(LikenessWriter& w) const {
    w.number(Likeness::Line);
    w.color(stroke_.color);
    w.number(stroke_.width);
    w.number(double(stroke_.style));
}

std::unique_ptr<Session> LineSymbol::begin(HDC dc, const Mapping& m) const {
    return std::make_unique<LineSession>(dc, m, stroke_);
}

Estimate LineSymbol::estimate(const Mapping& m, const Shape& s) const {
    if (!(is_path(s) || is_area(s))) return {};
    return box_of(device_points(m, s)).grown(stroke_.pixels(m) + 2);
}

STDMETHODIMP LineSymbol::get_Color(IColor** c) { return boundary(kIid, [&] { give(c, make_color(stroke_.color)); }); }
STDMETHODIMP LineSymbol::putref_Color(IColor* c) {
    return boundary(kIid, [&] { stroke_.color = color_of(c, L"The colour"); });
}
STDMETHODIMP LineSymbol::get_Width(double* points) { return boundary(kIid, [&] { out(points) = stroke_.width; }); }
STDMETHODIMP LineSymbol::put_Width(double points) {
    return boundary(kIid, [&] { stroke_.width = valid_points(points, L"The width"); });
}
STDMETHODIMP LineSymbol::get_Style(LineStyle* s) { return boundary(kIid, [&] { out(s) = stroke_.style; }); }
STDMETHODIMP LineSymbol::put_Style(LineStyle s) {
    return boundary(kIid, [&] { stroke_.style = valid_line_style(s); });
}

}  // namespace mapmodel
