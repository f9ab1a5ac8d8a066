// The control's life in its container. The container loads the control (or initialises it as
// new) and activates it in place; once both have happened, the start-up asks the container for
// its user mode: at run time the tree is shown and the windows are hooked (StartRunTime), at
// design time the tree stays hidden and the control paints its caption. A container that
// deactivates the control in place and activates it again gives it a new window, which starts
// the same way in the mode found first. Resizing makes the tree fill the control; Terminate
// gives the hooked windows their procedures back.
#include <olectl.h>
#include "com/variant.h"
#include "kelpy/control/toc.h"
#include "kelpy/platform/version.h"
#include "kelpy/platform/window_hooks.h"

namespace kelpy {

void Toc::OnLoaded() {
    m_bLoaded = true;
    // The start-up needs the windows to hook; without one it waits for in-place activation.
    if (m_hWnd) UserControl_ReadProperties();
}

void Toc::UserControl_ReadProperties() {
    // The mode is the container's answer at the first start; every later window of the control
    // starts in the same mode.
    if (!m_bReadPropertiesDone) {
        m_bDesignMode = !AmbientUserMode();
        m_bReadPropertiesDone = true;
    }
    if (m_bDesignMode) {
        tvwTOC.Visible(false);
        InvalidateRect(m_hWnd, nullptr, TRUE);
    } else {
        StartRunTime();
    }
    NotifyViewChanged();
}

bool Toc::AmbientUserMode() const {
    if (!m_pClientSite) return true;
    auto ambient = m_pClientSite.query<IDispatch>();
    if (!ambient) return true;
    DISPPARAMS none{};
    com::Variant mode;
    if (FAILED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                               mode.put(), nullptr, nullptr)))
        return true;
    if (mode.type() == VT_EMPTY) return true;
    return mode.to_bool();
}

void Toc::UserControl_Resize() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    tvwTOC.Move(0, 0, client.right, client.bottom);
}

void Toc::UserControl_Paint(HDC hdc) {
    if (!m_bDesignMode) return;
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    PaintCaption(hdc, RECT{0, 0, window.right - window.left, window.bottom - window.top});
}

void Toc::PaintCaption(HDC dc, const RECT& bounds) const {
    FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const std::wstring caption = DesignCaption();
    RECT r = bounds;
    DrawTextW(dc, caption.c_str(), int(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

std::wstring Toc::DesignCaption() {
    const platform::LibraryVersion v = platform::Version();
    return L"KELPY Control " + std::to_wstring(v.major) + L"." + std::to_wstring(v.minor) + L"." +
           std::to_wstring(v.revision);
}

void Toc::Terminate() noexcept { basTOC::UnhookWindows(this); }

}  // namespace kelpy
