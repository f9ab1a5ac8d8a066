#include "kelpy/platform/handler.h"
#include <oleauto.h>

namespace kelpy::platform {

void report_failure(const wchar_t* where, HRESULT hr) noexcept {
    try {
        std::wstring text = L"KELPY: ";
        text += where;
        text += L" failed: ";
        IErrorInfo* info = nullptr;
        BSTR description = nullptr;
        if (GetErrorInfo(0, &info) == S_OK && info) {
            info->GetDescription(&description);
            info->Release();
        }
        text += description && *description ? std::wstring(description) : com::describe(hr);
        SysFreeString(description);
        text += L"\n";
        OutputDebugStringW(text.c_str());
    } catch (...) {
    }
}

}  // namespace kelpy::platform
