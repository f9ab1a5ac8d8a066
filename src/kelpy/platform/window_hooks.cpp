#include "kelpy/platform/window_hooks.h"
#include "com/ptr.h"
#include "kelpy/platform/handler.h"

namespace kelpy::basTOC {

namespace {
struct Registration {
    _TOC* m_pTOC = nullptr;  // not owned: see the header
    HWND m_hWndTree = nullptr;
    HWND m_hWndCtrl = nullptr;
    WNDPROC m_lpPrevTreeProc = nullptr;
    WNDPROC m_lpPrevCtrlProc = nullptr;
};

thread_local Registration registration;

enum class Which { Tree, Ctrl };

WNDPROC install(HWND window, WNDPROC proc) noexcept {
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

void restore(HWND window, WNDPROC& previous) noexcept {
    if (!previous) return;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    previous = nullptr;
}

// The window is going: it gets its previous procedure back, and the control is forgotten when
// none of its windows is hooked any more.
void release_window(HWND window) noexcept {
    Registration& r = registration;
    if (window == r.m_hWndTree) restore(r.m_hWndTree, r.m_lpPrevTreeProc);
    if (window == r.m_hWndCtrl) restore(r.m_hWndCtrl, r.m_lpPrevCtrlProc);
    if (!r.m_lpPrevTreeProc && !r.m_lpPrevCtrlProc) r.m_pTOC = nullptr;
}

LRESULT subclass_proc(Which which, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Registration& r = registration;
    // Taken before the hook runs: the hook may unhook, and the message still belongs to the
    // procedure that this window had.
    const WNDPROC previous = which == Which::Tree ? r.m_lpPrevTreeProc : r.m_lpPrevCtrlProc;
    com::ComPtr<_TOC> toc(r.m_pTOC);

    LONG_PTR result = 0;
    VARIANT_BOOL handled = VARIANT_FALSE;
    if (toc) {
        LONG_PTR h = reinterpret_cast<LONG_PTR>(hWnd);
        LONG m = LONG(msg);
        LONG_PTR wp = LONG_PTR(wParam);
        LONG_PTR lp = lParam;
        HRESULT hr = which == Which::Tree ? toc->TreeWndProc(&h, &m, &wp, &lp, &result, &handled)
                                          : toc->CtrlWndProc(&h, &m, &wp, &lp, &result, &handled);
        if (FAILED(hr)) platform::report_failure(which == Which::Tree ? L"TreeWndProc" : L"CtrlWndProc", hr);
        hWnd = reinterpret_cast<HWND>(h);
        msg = UINT(m);
        wParam = WPARAM(wp);
        lParam = lp;
    }
    if (handled != VARIANT_FALSE) return result;
    if (msg == WM_NCDESTROY) release_window(hWnd);
    LRESULT answer = previous ? CallWindowProcW(previous, hWnd, msg, wParam, lParam)
                              : DefWindowProcW(hWnd, msg, wParam, lParam);
    return result != 0 ? result : answer;
}
}  // namespace

void HookWindows(_TOC* toc, HWND hWndTree, HWND hWndCtrl) {
    UnhookWindows();
    Registration& r = registration;
    r.m_pTOC = toc;
    r.m_hWndTree = hWndTree;
    r.m_hWndCtrl = hWndCtrl;
    if (r.m_hWndTree) r.m_lpPrevTreeProc = install(r.m_hWndTree, TreeSubclassProc);
    if (r.m_hWndCtrl) r.m_lpPrevCtrlProc = install(r.m_hWndCtrl, CtrlSubclassProc);
}

void UnhookWindows() {
    Registration& r = registration;
    restore(r.m_hWndTree, r.m_lpPrevTreeProc);
    restore(r.m_hWndCtrl, r.m_lpPrevCtrlProc);
    r.m_pTOC = nullptr;
}

_TOC* RegisteredControl() noexcept { return registration.m_pTOC; }

LRESULT CALLBACK TreeSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return subclass_proc(Which::Tree, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CtrlSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return subclass_proc(Which::Ctrl, hWnd, msg, wParam, lParam);
}

}  // namespace kelpy::basTOC
