// RgbColor: a colour as 0x00BBGGRR (red in the low byte). Symbols and ramps keep colours as
// values: setting a colour copies its value, reading one gives a new colour object.
#pragma once
#include "com/object.h"
#include "mapmodel/cloneable.h"

namespace mapmodel {

class RgbColor final : public com::ComObject<RgbColor, Dispatch<IRgbColor>, Cloneable<RgbColor>, com::SupportErrorInfo> {
public:
    RgbColor() = default;
    explicit RgbColor(COLORREF c) : c_(c) {}

    void* query_more(REFIID riid) noexcept;
    com::ComPtr<RgbColor> duplicate() const { return RgbColor::create(c_); }

    STDMETHODIMP get_RGB(long* bgr) override;
    STDMETHODIMP put_RGB(long bgr) override;
    STDMETHODIMP get_Red(long* v) override;
    STDMETHODIMP put_Red(long v) override;
    STDMETHODIMP get_Green(long* v) override;
    STDMETHODIMP put_Green(long v) override;
    STDMETHODIMP get_Blue(long* v) override;
    STDMETHODIMP put_Blue(long v) override;

private:
    HRESULT get_channel(int shift, long* v);
    HRESULT put_channel(int shift, long v, const wchar_t* name);
    COLORREF c_ = 0;
};

com::ComPtr<IColor> make_color(COLORREF c);
// The value of any colour object; Nothing is an error naming `what`.
COLORREF color_of(IColor* c, std::wstring_view what);
// A colour value checked to be 0x00BBGGRR.
COLORREF valid_color(long bgr);
// The colour a fraction t (0..1) of the way from a to b, per channel, rounded.
COLORREF mix(COLORREF a, COLORREF b, double t);

}  // namespace mapmodel
