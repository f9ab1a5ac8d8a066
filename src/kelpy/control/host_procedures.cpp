// _TOC's two window procedures, for hosts that offer the control the messages of its windows:
// TreeWndProc hands the screen readers' messages (WM_GETOBJECT, the focus, the work the
// accessible view posted) to the accessible view and the releases, keys and capture changes to
// the interaction; CtrlWndProc hands WM_NOTIFY to the painter, which answers the tree's custom
// draw. Every other message passes untouched. The control's own windows route their messages
// themselves (platform/tree_view.h, control/control_window.cpp) and never come here.
#include "kelpy/control/toc.h"
#include "com/boundary.h"
#include "com/error.h"

namespace kelpy {

STDMETHODIMP Toc::TreeWndProc(LONG_PTR*, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                              VARIANT_BOOL* handled) {
    // The screen readers' messages go to the tree's accessible view, and all that the
    // interaction does not act on leave at once.
    if (msg && access::TreeAccess::Wants(*msg)) {
        return com::boundary(IID__TOC, [&] {
            if (!wp || !lp || !result || !handled) com::raise(E_POINTER);
            m_access.TreeWndProc(*msg, *wp, *lp, *result, *handled);
        });
    }
    if (msg && !interact::Interaction::Wants(*msg)) return S_OK;
    return com::boundary(IID__TOC, [&] {
        if (!msg || !wp || !lp || !handled) com::raise(E_POINTER);
        m_interaction.TreeWndProc(*msg, *wp, *lp, *handled);
    });
}

STDMETHODIMP Toc::CtrlWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                              VARIANT_BOOL* handled) {
    // The painter answers the tree's custom-draw notifications; every other message passes
    // untouched, and the control never sets `handled`.
    return com::boundary(IID__TOC, [&] {
        if (!hWnd || !msg || !wp || !lp || !result || !handled) com::raise(E_POINTER);
        if (*msg != WM_NOTIFY || *lp == 0) return;
        m_painter.OnNotify(*reinterpret_cast<const NMHDR*>(*lp), *result);
    });
}

}  // namespace kelpy
