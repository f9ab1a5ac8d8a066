// GradientFillSymbol: fills an area with a colour ramp in IntervalCount bands of equal width
// (style 0: linear, the only style). The bands run across the direction Angle (degrees,
// counter-clockwise from the world's x axis), with the ramp's first colour at the end that
// the angle points to: at 270 the first colour is at the bottom. Without a ramp the area is
// filled with the symbol's colour. The outline is drawn as for a solid fill (width 0: none).
#pragma once
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/symbols/fill_base.h"

namespace mapmodel {

class GradientFillSymbol final
    : public com::ComObject<GradientFillSymbol, FillBase<GradientFillSymbol, IGradientFillSymbol>,
                            SymbolBase<GradientFillSymbol>, HandsLikeness<GradientFillSymbol>,
                            Cloneable<GradientFillSymbol>, com::SupportErrorInfo> {
public:
    struct Settings {
        long style = 0;
        double angle = 0.0;
        long intervals = 10;
    };
    GradientFillSymbol() = default;

    void* query_more(REFIID riid) noexcept { return fill_interface(riid); }
    com::ComPtr<GradientFillSymbol> duplicate() const;
    std::unique_ptr<Session> begin(HDC dc, const Mapping& m) const;
    std::optional<Likeness> likeness() const;
    // The bands' colours among the rest.
    void write_likeness(LikenessWriter& w) const;

    STDMETHODIMP get_ColorRamp(IColorRamp** ramp) override;
    STDMETHODIMP putref_ColorRamp(IColorRamp* ramp) override;
    STDMETHODIMP get_Style(long* s) override;
    STDMETHODIMP put_Style(long s) override;
    STDMETHODIMP get_Angle(double* degrees) override;
    STDMETHODIMP put_Angle(double degrees) override;
    STDMETHODIMP get_IntervalCount(long* n) override;
    STDMETHODIMP put_IntervalCount(long n) override;

private:
    com::ComPtr<IColorRamp> ramp_;  // held by reference, like the outline
    Settings s_;
};

}  // namespace mapmodel
