// LineSymbol: draws lines and polylines, and the outlines of polygons and envelopes, with a
// stroke of a colour, a width in points and a style. Points are not drawn.
#pragma once
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/symbols/handed_likeness.h"
#include "mapmodel/symbols/stroke.h"
#include "mapmodel/symbols/symbol_base.h"

namespace mapmodel {

class LineSymbol final : public com::ComObject<LineSymbol, Dispatch<ILineSymbol>, SymbolBase<LineSymbol>,
                                                HandsLikeness<LineSymbol>, Cloneable<LineSymbol>,
                                                com::SupportErrorInfo> {
public:
    LineSymbol() = default;
    explicit LineSymbol(const Stroke& s) : stroke_(s) {}
    // Our own line symbol behind an interface, or null for another model's.
    static com::ComPtr<LineSymbol> of(ILineSymbol* line) noexcept;
    void* query_more(REFIID riid) noexcept;
    const Stroke& stroke() const noexcept { return stroke_; }
    std::optional<Likeness> likeness() const;
    void write_likeness(LikenessWriter& w) const;

    com::ComPtr<LineSymbol> duplicate() const { return LineSymbol::create(stroke_); }
    std::unique_ptr<Session> begin(HDC dc, const Mapping& m) const;
    Estimate estimate(const Mapping& m, const Shape& s) const;

    STDMETHODIMP get_Color(IColor** c) override;
    STDMETHODIMP putref_Color(IColor* c) override;
    STDMETHODIMP get_Width(double* points) override;
    STDMETHODIMP put_Width(double points) override;
    STDMETHODIMP get_Style(LineStyle* s) override;
    STDMETHODIMP put_Style(LineStyle s) override;

private:
    Stroke stroke_;
};

// A copy of any line symbol: a clone when it can clone itself, else a LineSymbol with its
// colour, width and style. Nothing stays Nothing.
com::ComPtr<ILineSymbol> copy_line(ILineSymbol* line);

}  // namespace mapmodel
