#include "viewer_text.h"

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

}  // namespace viewer
