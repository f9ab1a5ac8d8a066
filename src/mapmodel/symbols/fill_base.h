// What the two fill symbols share: a colour, an outline (a line symbol, held by reference so
// that changing the outline object changes the fill, or Nothing for none), and the drawing
// of an area as its fill followed by its outline. Fills draw polygons and envelopes only.
#pragma once
#include "com/boundary.h"
#include "mapmodel/display/color.h"
#include "mapmodel/symbols/handed_likeness.h"
#include "mapmodel/symbols/line_symbol.h"
#include "mapmodel/symbols/stroke.h"
#include "mapmodel/symbols/symbol_base.h"

namespace mapmodel {

// A new outline as fills get it by default: black, 1 point, solid.
com::ComPtr<ILineSymbol> default_outline();

// Draws areas: the fill (by the derived session), then the outline's stroke.
class FillSession : public Session {
public:
    FillSession(HDC dc, const Mapping& m, ILineSymbol* outline);
    void draw(const Shape& shape) final;

protected:
    // Fills the rings (at least one), an area being inside an odd number of them.
    virtual void fill(const DeviceParts& rings) = 0;

private:
    bool outlined_ = false;
    win::Pen pen_;
};

// The pixels a fill with this outline can reach around a shape.
Estimate fill_estimate(const Mapping& m, const Shape& s, ILineSymbol* outline);

template <class Self, class I>
class FillBase : public Dispatch<I> {
public:
    STDMETHODIMP get_Color(IColor** c) override {
        return boundary(__uuidof(IFillSymbol), [&] { give(c, make_color(color_)); });
    }
    STDMETHODIMP putref_Color(IColor* c) override {
        return boundary(__uuidof(IFillSymbol), [&] { color_ = color_of(c, L"The colour"); });
    }
    STDMETHODIMP get_Outline(ILineSymbol** outline) override {
        return boundary(__uuidof(IFillSymbol), [&] { give(outline, outline_); });
    }
    STDMETHODIMP putref_Outline(ILineSymbol* outline) override {
        return boundary(__uuidof(IFillSymbol), [&] { outline_ = outline; });
    }
    void* fill_interface(REFIID riid) noexcept {
        if (riid == __uuidof(IFillSymbol)) return static_cast<IFillSymbol*>(static_cast<I*>(this));
        return nullptr;
    }
    Estimate estimate(const Mapping& m, const Shape& s) const { return fill_estimate(m, s, outline_.get()); }

protected:
    COLORREF color_ = RGB(192, 192, 192);
    com::ComPtr<ILineSymbol> outline_ = default_outline();
};

}  // namespace mapmodel
