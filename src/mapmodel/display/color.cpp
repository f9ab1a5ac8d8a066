#include "mapmodel/display/color.h"
#include <cmath>

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IRgbColor);
}

com::ComPtr<IColor> make_color(COLORREF c) { return RgbColor::create(c).as<IColor>(); }

COLORREF color_of(IColor* c, std::wstring_view what) {
    long v = 0;
    com::check(required(c, what)->get_RGB(&v));
    return valid_color(v);
}

COLORREF valid_color(long bgr) {
    if (bgr < 0 || bgr > 0xFFFFFF)
        com::raise(E_INVALIDARG, L"A colour is a value from 0 to 16777215 (0x00BBGGRR), not " + std::to_wstring(bgr));
    return COLORREF(bgr);
}

COLORREF mix(COLORREF a, COLORREF b, double t) {
    auto channel = [t](BYTE x, BYTE y) { return BYTE(std::lround(x + (double(y) - x) * t)); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

void* RgbColor::query_more(REFIID riid) noexcept {
    if (riid == __uuidof(IColor)) return static_cast<IColor*>(static_cast<IRgbColor*>(this));
    return nullptr;
}

STDMETHODIMP RgbColor::get_RGB(long* bgr) { return boundary(kIid, [&] { out(bgr) = long(c_); }); }
STDMETHODIMP RgbColor::put_RGB(long bgr) { return boundary(kIid, [&] { c_ = valid_color(bgr); }); }

HRESULT RgbColor::get_channel(int shift, long* v) {
    return boundary(kIid, [&] { out(v) = long((c_ >> shift) & 0xFF); });
}

HRESULT RgbColor::put_channel(int shift, long v, const wchar_t* name) {
    return boundary(kIid, [&] {
        if (v < 0 || v > 255)
            com::raise(E_INVALIDARG, std::wstring(name) + L" must be from 0 to 255, not " + std::to_wstring(v));
        c_ = (c_ & ~(COLORREF(0xFF) << shift)) | (COLORREF(v) << shift);
    });
}

STDMETHODIMP RgbColor::get_Red(long* v) { return get_channel(0, v); }
STDMETHODIMP RgbColor::get_Green(long* v) { return get_channel(8, v); }
STDMETHODIMP RgbColor::get_Blue(long* v) { return get_channel(16, v); }
STDMETHODIMP RgbColor::put_Red(long v) { return put_channel(0, v, L"Red"); }
STDMETHODIMP RgbColor::put_Green(long v) { return put_channel(8, v, L"Green"); }
STDMETHODIMP RgbColor::put_Blue(long v) { return put_channel(16, v, L"Blue"); }

}  // namespace mapmodel
