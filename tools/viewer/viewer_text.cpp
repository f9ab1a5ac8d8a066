#include "viewer_text.h"

namespace viewer {

std::wstring file_name(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring reason(const com::ComError& e) { return e.description().empty() ? com::describe(e.hr()) : e.description(); }

}  // namespace viewer
