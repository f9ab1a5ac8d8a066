// Numerics with the semantics the control's callers expect from an automation runtime:
// Booleans are VARIANT_BOOL (True = -1), rounding to whole numbers is to nearest with halves to
// even, and signed 16-bit counters raise the overflow error instead of wrapping.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <cstdint>
#include <type_traits>
#include "com/error.h"

namespace com {

inline VARIANT_BOOL vb(bool b) noexcept { return b ? VARIANT_TRUE : VARIANT_FALSE; }
inline bool is_true(VARIANT_BOOL b) noexcept { return b != VARIANT_FALSE; }

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2);
// a result outside the signed 32-bit range, or a NaN, raises the overflow error.
int32_t round_half_even(double x);

// Narrows a count or position to the signed 16-bit range, raising the overflow error outside it.
int16_t to_int16(long long value);

// Visits positions 0 .. n-1 with the checks of a signed 16-bit loop counter. A count above 32768 fails before the first visit (n - 1 does not fit); a count
// of exactly 32768 visits every position and then fails when the counter steps past 32767.
// A visitor that answers a bool ends the loop early by answering false (a loop left by an exit
// never steps its counter again).
template <class F>
void for_int16(long long n, F&& visit) {
    if (n <= 0) return;
    int16_t last = to_int16(n - 1);
    for (int32_t i = 0;; ++i) {
        if constexpr (std::is_same_v<decltype(visit(int16_t(0))), bool>) {
            if (!visit(int16_t(i))) return;
        } else {
            visit(int16_t(i));
        }
        if (i == 32767) raise(CTL_E_OVERFLOW);  // the step past the last position overflows
        if (i == last) return;
    }
}

}  // namespace com
