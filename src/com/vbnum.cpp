#include "com/vbnum.h"
#include <cmath>

namespace com {

int32_t round_half_even(double x) {
    if (std::isnan(x)) raise(CTL_E_OVERFLOW);
    double r = std::nearbyint(x);  // the default rounding mode is to nearest, ties to even
    if (r < -2147483648.0 || r > 2147483647.0) raise(CTL_E_OVERFLOW);
    return int32_t(r);
}

int16_t to_int16(long long value) {
    if (value < -32768 || value > 32767) raise(CTL_E_OVERFLOW);
    return int16_t(value);
}

}  // namespace com
