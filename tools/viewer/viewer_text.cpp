#include "viewer_text.h"
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
