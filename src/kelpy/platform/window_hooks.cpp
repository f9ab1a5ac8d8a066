#include "kelpy/platform/window_hooks.h"
#include <memory>
#include <unordered_map>
#include <vector>
#include "com/error.h"
#include "com/ptr.h"
#include "kelpy/platform/handler.h"

namespace kelpy::basTOC {

namespace {
struct Registration {
    HookTarget* m_pTOC = nullptr;  // not owned: see the header
    HWND m_hWndTree = nullptr;
    HWND m_hWndCtrl = nullptr;
    WNDPROC m_lpPrevTreeProc = nullptr;
    WNDPROC m_lpPrevCtrlProc = nullptr;
};
using RegistrationPtr = std::shared_ptr<Registration>;

// This thread's registrations, by each window that they hook. A procedure that runs holds its
// registration, so that a hook may end it while it runs.
thread_local std::unordered_map<HWND, RegistrationPtr> hooked;

enum class Which { Tree, Ctrl };

WNDPROC install(HWND window, WNDPROC proc) noexcept {
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

// Gives the window its previous procedure back (when it was hooked) and forgets it.
void restore(HWND window, WNDPROC& previous) noexcept {
    if (!previous) return;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    previous = nullptr;
    hooked.erase(window);
}

void end(Registration& r) noexcept {
    restore(r.m_hWndTree, r.m_lpPrevTreeProc);
    restore(r.m_hWndCtrl, r.m_lpPrevCtrlProc);
    r.m_pTOC = nullptr;
}

RegistrationPtr registration_of(HWND window) noexcept {
    auto it = hooked.find(window);
    return it == hooked.end() ? nullptr : it->second;
}

// The window is going: it gets its previous procedure back, and its registration ends when
// neither of its windows is hooked any more.
void release_window(HWND window) noexcept {
    RegistrationPtr r = registration_of(window);
    if (!r) return;
    if (window == r->m_hWndTree) restore(r->m_hWndTree, r->m_lpPrevTreeProc);
    if (window == r->m_hWndCtrl) restore(r->m_hWndCtrl, r->m_lpPrevCtrlProc);
    if (!r->m_lpPrevTreeProc && !r->m_lpPrevCtrlProc) r->m_pTOC = nullptr;
}

LRESULT subclass_proc(Which which, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const RegistrationPtr r = registration_of(hWnd);
    // Taken before the hook runs: the hook may unhook, and the message still belongs to the
    // procedure that this window had.
    const WNDPROC previous = !r ? nullptr : which == Which::Tree ? r->m_lpPrevTreeProc : r->m_lpPrevCtrlProc;
    com::ComPtr<HookTarget> toc(r ? r->m_pTOC : nullptr);

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

void HookWindows(HookTarget* toc, HWND hWndTree, HWND hWndCtrl) {
    if (hWndTree && hWndTree == hWndCtrl) com::raise(E_INVALIDARG, L"The tree and the control need two windows");
    for (HWND window : {hWndTree, hWndCtrl}) {
        if (!window) continue;
        if (RegistrationPtr earlier = registration_of(window)) end(*earlier);
    }
    auto r = std::make_shared<Registration>();
    r->m_pTOC = toc;
    r->m_hWndTree = hWndTree;
    r->m_hWndCtrl = hWndCtrl;
    if (hWndTree) {
        r->m_lpPrevTreeProc = install(hWndTree, TreeSubclassProc);
        if (r->m_lpPrevTreeProc) hooked[hWndTree] = r;
    }
    if (hWndCtrl) {
        r->m_lpPrevCtrlProc = install(hWndCtrl, CtrlSubclassProc);
        if (r->m_lpPrevCtrlProc) hooked[hWndCtrl] = r;
    }
}

void UnhookWindows(const HookTarget* toc) {
    if (!toc) return;
    std::vector<RegistrationPtr> ending;
    for (const auto& [window, r] : hooked)
        if (r->m_pTOC == toc) ending.push_back(r);
    for (const RegistrationPtr& r : ending) end(*r);
}

HookTarget* RegisteredControl(HWND window) noexcept {
    RegistrationPtr r = window ? registration_of(window) : nullptr;
    return r ? r->m_pTOC : nullptr;
}

bool IsRegistered(const HookTarget* toc) noexcept {
    if (!toc) return false;
    for (const auto& [window, r] : hooked)
        if (r->m_pTOC == toc) return true;
    return false;
}

LRESULT CALLBACK TreeSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return subclass_proc(Which::Tree, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CtrlSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return subclass_proc(Which::Ctrl, hWnd, msg, wParam, lParam);
}

}  // namespace kelpy::basTOC
