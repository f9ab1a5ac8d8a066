// basTOC: the module that subclasses the control's two windows, the tree window and the
// control's own window, and offers every message to the registered control first (its
// TreeWndProc for the tree's messages, its CtrlWndProc for the control window's).
//
// Contract of the two window procedures, for every message: `result` = 0 and `handled` = False
// go to the hook, together with the message's four values, all by reference. If the hook sets
// `handled`, its `result` is the answer and the window's previous procedure never sees the
// message. Otherwise the previous procedure gets the message (with the values as the hook left
// them), and the answer is the hook's `result` when that is not 0, else the previous procedure's.
// A hook that fails is treated the same way, with the values it left; its failure goes to the
// debugger's output. With no control registered, messages go straight to the previous procedure.
//
// One registration per hooked window pair, found by either of its windows: any number of
// controls on a thread (a host showing two maps has two) each keep their own hooks, and ending
// one registration leaves the others alone. Registrations belong to the thread that made them,
// which is the thread of their windows. HookWindows first ends any registration that holds one
// of the given windows, giving its windows back their previous procedures (a second hook of the
// same window would otherwise call itself as its own previous procedure).
//
// A registration does not own its control: it holds a plain pointer and no reference, so a
// control that its container releases is really freed. In exchange a registration ends on its
// own when its windows go: WM_NCDESTROY of a hooked window gives that window its previous
// procedure back, and when neither window of the pair is hooked any more the registration is
// forgotten. A control that ends while still registered must call UnhookWindows itself. While
// a hook runs, the window procedure holds a reference to the control, so a control released
// inside its own hook lives until the message has been passed on.
//
// Finding the registration of a window costs one look-up in a table of this thread's hooked
// windows per message (no window property, which Wine looks up in its server).
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace kelpy::platform {

// What a registration offers the messages to: a counted object with a procedure for each of the
// two windows, following the contract above (the signatures of the control's own interface, so
// that one member serves both).
class HookTarget {
public:
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
    virtual HRESULT STDMETHODCALLTYPE TreeWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp,
                                                  LONG_PTR* result, VARIANT_BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE CtrlWndProc(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp,
                                                  LONG_PTR* result, VARIANT_BOOL* handled) = 0;

protected:
    ~HookTarget() = default;
};

}  // namespace kelpy::platform

namespace kelpy::basTOC {

using platform::HookTarget;

// Registers `toc` for this pair of windows and subclasses the windows whose handles are not 0.
void HookWindows(HookTarget* toc, HWND hWndTree, HWND hWndCtrl);
// Ends every registration of `toc` on this thread: its windows get their previous procedures
// back. Does nothing when the control has none.
void UnhookWindows(const HookTarget* toc);
// The control whose registration holds this window (on this thread), or null.
HookTarget* RegisteredControl(HWND window) noexcept;
// Whether the control has a registration on this thread.
bool IsRegistered(const HookTarget* toc) noexcept;

LRESULT CALLBACK TreeSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CtrlSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace kelpy::basTOC
