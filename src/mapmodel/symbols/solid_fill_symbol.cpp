#include "mapmodel/symbols/solid_fill_symbol.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(ISolidFillSymbol);

win::Brush brush_for(COLORREF color, FillStyle style) {
    switch (style) {
    case FillHorizontal: return win::Brush::created(CreateHatchBrush(HS_HORIZONTAL, color));
    case FillVertical: return win::Brush::created(CreateHatchBrush(HS_VERTICAL, color));
    case FillCross: return win::Brush::created(CreateHatchBrush(HS_CROSS, color));
    case FillDiagonal: return win::Brush::created(CreateHatchBrush(HS_FDIAGONAL, color));
    default: return win::Brush::created(CreateSolidBrush(color));
    }
}

class SolidFillSession final : public FillSession {
public:
    SolidFillSession(HDC dc, const Mapping& m, ILineSymbol* outline, COLORREF color, FillStyle style)
        : FillSession(dc, m, outline), hollow_(style == FillHollow), brush_(brush_for(color, style)) {
        SelectObject(dc, brush_.get());
        SetBkMode(dc, TRANSPARENT);  // hatches leave the background as it is
    }

protected:
    void fill(const DeviceParts& rings) override {
        if (!hollow_) PolyPolygon(dc_, rings.points.data(), rings.sizes.data(), int(rings.sizes.size()));
    }

private:
    bool hollow_;
    win::Brush brush_;
};

FillStyle valid_fill_style(FillStyle s) {
    return one_of(s, {FillSolid, FillHollow, FillHorizontal, FillVertical, FillCross, FillDiagonal}, L"fill style");
}
}  // namespace

SolidFillSymbol::SolidFillSymbol(COLORREF color, com::ComPtr<ILineSymbol> outline, FillStyle style) : style_(style) {
    color_ = color;
    outline_ = std::move(outline);
}

com::ComPtr<SolidFillSymbol> SolidFillSymbol::duplicate() const {
    return SolidFillSymbol::create(color_, copy_line(outline_.get()), style_);
}

std::optional<Likeness> SolidFillSymbol::likeness() const {
    Likeness like{Likeness::SolidFill, {double(style_)}};
    add_outline(like, 1, outline_.get());
    return like;
}

void SolidFillSymbol::write_likeness(LikenessWriter& w) const {
    w.number(Likeness::SolidFill);
    w.color(color_);
    w.number(double(style_));
    w.line(outline_.get());
}

std::unique_ptr<Session> SolidFillSymbol::begin(HDC dc, const Mapping& m) const {
    return std::make_unique<SolidFillSession>(dc, m, outline_.get(), color_, style_);
}

STDMETHODIMP SolidFillSymbol::get_Style(FillStyle* s) { return boundary(kIid, [&] { out(s) = style_; }); }
STDMETHODIMP SolidFillSymbol::put_Style(FillStyle s) { return boundary(kIid, [&] { style_ = valid_fill_style(s); }); }

}  // namespace mapmodel
