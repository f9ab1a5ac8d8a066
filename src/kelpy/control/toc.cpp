#include "kelpy/control/toc.h"
#include "com/boundary.h"
#include "kelpy/platform/window_hooks.h"

namespace kelpy {

namespace {
constexpr UINT toc_timer_id = 1;
constexpr UINT toc_timer_interval_ms = 25;
constexpr COLORREF magenta = RGB(255, 0, 255);
}  // namespace

Toc::Toc() : imlTOC(16, 16, magenta), tToc(toc_timer_id, toc_timer_interval_ms) {
    LoadItemImages();
    tvwTOC.SetImageList(&imlTOC);
    tvwTOC.SetEvents(this);
    // The timer tToc runs only while a layer is dragged (its ticks would do nothing otherwise;
    // an idle control wakes its thread for nothing 40 times a second).
}

Toc::~Toc() {
    // Nothing may call into the control once it is going: the window hooks, the map's
    // notifications and the window's messages are cut off first.
    basTOC::UnhookWindows(this);
    m_pActiveViewEvents.end();
    tvwTOC.SetEvents(nullptr);
    DestroyControlWindow();
}

STDMETHODIMP Toc::get_SelectedLayer(ILayer** layer) {
    return com::boundary(IID__TOC, [&] {
        if (!layer) com::raise(E_POINTER);
        *layer = com::ComPtr<ILayer>(m_pSelectedLayer).detach();
    });
}

void Toc::MouseDown(int16_t button, platform::ShiftMask shift, float x, float y) { tvwTOC_MouseDown(button, shift, x, y); }
void Toc::MouseMove(int16_t button, platform::ShiftMask shift, float x, float y) { tvwTOC_MouseMove(button, shift, x, y); }
void Toc::MouseUp(int16_t button, platform::ShiftMask shift, float x, float y) { tvwTOC_MouseUp(button, shift, x, y); }
void Toc::Expand(const NodePtr& node) { tvwTOC_Expand(node); }
void Toc::Collapse(const NodePtr& node) { tvwTOC_Collapse(node); }

}  // namespace kelpy
