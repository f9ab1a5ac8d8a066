#include "win/handles.h"

namespace win {

WindowDC::WindowDC(HWND window, bool whole_window)
    : window_(window), dc_(whole_window ? GetWindowDC(window) : GetDC(window)) {
    if (!dc_) com::raise(E_FAIL, L"Could not get the window's device context");
}

SavedState::SavedState(HDC dc) : dc_(dc), level_(SaveDC(dc)) {
    if (!level_) com::raise(E_INVALIDARG, L"The device context is not valid");
}

}  // namespace win
