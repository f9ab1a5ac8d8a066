#include "kelpy/platform/dpi.h"
#include "win/handles.h"

namespace kelpy::platform {

namespace {
using GetDpiForWindowProc = UINT(WINAPI*)(HWND);

GetDpiForWindowProc get_dpi_for_window() noexcept {
    static const GetDpiForWindowProc proc = [] {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        return user ? reinterpret_cast<GetDpiForWindowProc>(
                          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
                    : nullptr;
    }();
    return proc;
}
}  // namespace

Dpi Dpi::Of(HWND window) noexcept {
    if (const GetDpiForWindowProc proc = get_dpi_for_window(); proc && window) {
        if (const UINT dpi = proc(window)) return Dpi(int(dpi));
    }
    return System();
}

Dpi Dpi::System() noexcept {
    const win::WindowDC screen = win::WindowDC::try_get(nullptr);
    return Dpi(screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : standard);
}

}  // namespace kelpy::platform
