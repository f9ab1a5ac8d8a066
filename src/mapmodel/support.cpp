#include "mapmodel/support.h"

namespace mapmodel {

void check_index(long index, size_t count, std::wstring_view what) {
    if (index < 0 || size_t(index) >= count) {
        com::raise(E_INVALIDARG, L"Index " + std::to_wstring(index) + L" is out of range: " + std::wstring(what) +
                                     L" has " + std::to_wstring(count) + (count == 1 ? L" entry" : L" entries"));
    }
}

void check_count(long count, long limit, std::wstring_view what) {
    if (count < 0 || count > limit) {
        com::raise(E_INVALIDARG, L"The number of " + std::wstring(what) + L" must be between 0 and " +
                                     std::to_wstring(limit) + L", not " + std::to_wstring(count));
    }
}

double finite(double v, std::wstring_view what) {
    if (!std::isfinite(v)) com::raise(E_INVALIDARG, std::wstring(what) + L" must be a finite number");
    return v;
}

std::wstring in_quotes(std::wstring_view text) {
    constexpr size_t kShown = 60;
    if (text.size() <= kShown) return L"\"" + std::wstring(text) + L"\"";
    size_t cut = kShown;
    if (IS_HIGH_SURROGATE(text[cut - 1])) --cut;  // never half a character
    return L"\"" + std::wstring(text.substr(0, cut)) + L"...\" (" + std::to_wstring(text.size()) + L" characters)";
}

}  // namespace mapmodel
