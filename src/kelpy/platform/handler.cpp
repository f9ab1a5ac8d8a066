#include "kelpy/platform/handler.h"

namespace kelpy::platform {

void report_failure(const wchar_t* where, const com::ComError& e) noexcept {
    if (e.hr() == E_ACTION_ABANDONED) return;
    try {
        const std::wstring text = L"KELPY: " + std::wstring(where) + L" failed: " + e.description() + L"\n";
        OutputDebugStringW(text.c_str());
    } catch (...) {
    }
}

void report_failure(const wchar_t* where, HRESULT hr) noexcept {
    if (hr == E_ACTION_ABANDONED) return;
    try {
        report_failure(where, com::error_of(hr));
    } catch (...) {
    }
}

}  // namespace kelpy::platform
