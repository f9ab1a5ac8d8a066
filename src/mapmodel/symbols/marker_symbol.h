// MarkerSymbol: a mark of a colour, a size in points and a style, drawn at a point (at the
// centre of any other shape). The mark fills a square of size x size pixels (at 96 dpi)
// centred on the point: a size-8 circle at (9, 9) covers the pixels 5 to 12 on both axes.
#pragma once
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/symbols/handed_likeness.h"
#include "mapmodel/symbols/symbol_base.h"

namespace mapmodel {

class MarkerSymbol final : public com::ComObject<MarkerSymbol, Dispatch<IMarkerSymbol>, SymbolBase<MarkerSymbol>,
                                                  HandsLikeness<MarkerSymbol>, Cloneable<MarkerSymbol>,
                                                  com::SupportErrorInfo> {
public:
    struct Settings {
        COLORREF color = RGB(0, 0, 0);
        double size = 8.0;
        MarkerStyle style = MarkerCircle;
    };
    MarkerSymbol() = default;
    explicit MarkerSymbol(const Settings& s) : s_(s) {}

    com::ComPtr<MarkerSymbol> duplicate() const { return MarkerSymbol::create(s_); }
    std::unique_ptr<Session> begin(HDC dc, const Mapping& m) const;
    Estimate estimate(const Mapping& m, const Shape& s) const;
    std::optional<Likeness> likeness() const {
        return Likeness{Likeness::Marker, {s_.size, double(s_.style)}};
    }
    void write_likeness(LikenessWriter& w) const {
        w.number(Likeness::Marker);
        w.color(s_.color);
        w.number(s_.size);
        w.number(double(s_.style));
    }

    STDMETHODIMP get_Color(IColor** c) override;
    STDMETHODIMP putref_Color(IColor* c) override;
    STDMETHODIMP get_Size(double* points) override;
    STDMETHODIMP put_Size(double points) override;
    STDMETHODIMP get_Style(MarkerStyle* s) override;
    STDMETHODIMP put_Style(MarkerStyle s) override;

private:
    Settings s_;
};

// The square of pixels that a mark of `size` points covers around `at`; empty for size 0.
PixelBox mark_box(const Mapping& m, Vec at, double size);

// A session that draws one mark of `size` points at each anchor of a shape (the point, every
// point of a multipoint, else the shape's centre); a mark of no pixels is left out.
class MarkSession : public Session {
public:
    MarkSession(HDC dc, const Mapping& m, double size) : Session(dc, m), size_(size) {}
    void draw(const Shape& shape) final {
        for (Vec at : anchors_of(shape)) {
            const PixelBox box = mark_box(mapping_, at, size_);
            if (!box.empty()) draw_mark(box);
        }
    }

protected:
    virtual void draw_mark(const PixelBox& b) = 0;

private:
    double size_;
};

}  // namespace mapmodel
