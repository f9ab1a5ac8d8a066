#include "viewer_text.h"
#include <cmath>
#include <cstdio>
#include <iterator>
#include "com/bstr.h"

namespace viewer {

std::wstring file_name(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring reason(const com::ComError& e) {
    if (!e.description().empty()) return e.description();
    if (e.hr() == REGDB_E_CLASSNOTREG)
        return L"A class of the control or of the map model is not registered: register kelpy.dll and mapmodel.dll "
               L"(regsvr32 kelpy.dll, regsvr32 mapmodel.dll).";
    return com::describe(e.hr());
}

std::wstring item_text(_TOCItemInfo* item) {
    TOCItemKind kind = TOCItemKind::ItemNone;
    TOCItemPart part = TOCItemPart::PartNone;
    com::Bstr text;
    com::check(item->get_Kind(&kind));
    com::check(item->get_Part(&part));
    com::check(item->get_Text(text.put()));
    const wchar_t* kinds[] = {L"", L"Map", L"Layer", L"Group layer", L"Legend heading", L"Legend class",
                              L"Layer symbol", L"Empty row"};
    const wchar_t* parts[] = {L"", L"check", L"label", L"swatch", L"indent", L"right of the label"};
    const size_t k = size_t(kind), p = size_t(part);
    if (k == 0 || k >= std::size(kinds)) return {};
    std::wstring shown = kinds[k];
    if (!text.view().empty()) shown += L" \u201C" + text.str() + L"\u201D";
    if (p > 0 && p < std::size(parts)) shown += std::wstring(L" (") + parts[p] + L")";
    return shown;
}

}  // namespace viewer

namespace viewer {

namespace {

std::wstring locale_text(LCTYPE what) {
    wchar_t text[16] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, text, int(std::size(text)));
    return text;
}

// The locale's grouping as NUMBERFMT takes it: "3;0" (threes) gives 3, "3;2;0" (three, then
// twos) 32, and "3" (one group of three, no more) 30.
UINT grouping() {
    UINT g = 0;
    const std::wstring text = locale_text(LOCALE_SGROUPING);
    for (wchar_t c : text)
        if (c >= L'0' && c <= L'9') g = g * 10 + UINT(c - L'0');
    const bool repeats = text.size() >= 2 && text.compare(text.size() - 2, 2, L";0") == 0;
    return repeats ? g / 10 : g * 10;
}

}  // namespace

std::wstring scale_text(double denominator) {
    wchar_t digits[64];
    std::swprintf(digits, std::size(digits), L"%.0f", std::round(denominator));
    std::wstring decimal = locale_text(LOCALE_SDECIMAL), thousand = locale_text(LOCALE_STHOUSAND);
    NUMBERFMTW format{};
    format.NumDigits = 0;
    format.Grouping = grouping();
    format.lpDecimalSep = decimal.data();
    format.lpThousandSep = thousand.data();
    wchar_t grouped[96] = {};
    if (!GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits, &format, grouped, int(std::size(grouped))))
        return std::wstring(L"1:") + digits;
    return std::wstring(L"1:") + grouped;
}

}  // namespace viewer
