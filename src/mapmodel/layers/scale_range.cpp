#include "mapmodel/layers/scale_range.h"
#include <cstdio>

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IScaleRange);

double limit(double v, const wchar_t* what) {
    if (!std::isfinite(v) || v < 0)
        com::raise(E_INVALIDARG, std::wstring(what) + L" is a scale denominator, 0 or more (0: no limit)");
    return v;
}

std::wstring denominator(double v) {
    wchar_t text[64];
    std::swprintf(text, 64, L"1:%.15g", v);
    return text;
}
}  // namespace

void ScaleRange::check_range(double minimum, double maximum) const {
    if (minimum != 0 && maximum != 0 && minimum < maximum)
        com::raise(E_INVALIDARG, L"The minimum scale " + denominator(minimum) + L" is below the maximum scale " +
                                     denominator(maximum) +
                                     L": the minimum scale is the zoomed-out limit, the larger denominator");
}

STDMETHODIMP ScaleRange::get_MinimumScale(double* v) { return boundary(kIid, [&] { out(v) = minimum_; }); }
STDMETHODIMP ScaleRange::put_MinimumScale(double v) {
    return boundary(kIid, [&] {
        check_range(limit(v, L"The minimum scale"), maximum_);
        minimum_ = v;
    });
}
STDMETHODIMP ScaleRange::get_MaximumScale(double* v) { return boundary(kIid, [&] { out(v) = maximum_; }); }
STDMETHODIMP ScaleRange::put_MaximumScale(double v) {
    return boundary(kIid, [&] {
        check_range(minimum_, limit(v, L"The maximum scale"));
        maximum_ = v;
    });
}

}  // namespace mapmodel
