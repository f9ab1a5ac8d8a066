// basTOC: the module that subclasses the control's two windows, the tree window and the
// control's own window, and offers every message to the registered control first
// (_TOC.TreeWndProc for the tree's messages, _TOC.CtrlWndProc for the control window's).
//
// Contract of the two window procedures, for every message: `result` = 0 and `handled` = False
// go to the hook, together with the message's four values, all by reference. If the hook sets
// `handled`, its `result` is the answer and the window's previous procedure never sees the
// message. Otherwise the previous procedure gets the message (with the values as the hook left
// them), and the answer is the hook's `result` when that is not 0, else the previous procedure's.
// A hook that fails is treated the same way, with the values it left; its failure goes to the
// debugger's output. With no control registered, messages go straight to the previous procedure.
//
// One registration per thread: each user-interface thread has its own, which serves one
// control. HookWindows replaces a registration that is still in place, after giving its windows
// back their previous procedures (a second hook of the same windows would otherwise call itself
// as its own previous procedure).
//
// The registration does not own the control: it holds a plain pointer and no reference, so a
// control that its container releases is really freed. In exchange the registration ends on
// its own when the windows go: WM_NCDESTROY of a hooked window gives that window its previous
// procedure back, and when no hooked window is left the control is forgotten. A control that
// ends while still registered must call UnhookWindows itself (see RegisteredControl). While a
// hook runs, the window procedure holds a reference to the control, so a control released
// inside its own hook lives until the message has been passed on.
#pragma once
#include <windows.h>
#include "kelpy/model/typelib.h"

namespace kelpy::basTOC {

// Registers `toc` for this thread and subclasses the windows whose handles are not 0.
void HookWindows(_TOC* toc, HWND hWndTree, HWND hWndCtrl);
// Gives the hooked windows their previous procedures back and forgets the control. Does nothing
// when nothing is hooked.
void UnhookWindows();
// The control registered on this thread, or null.
_TOC* RegisteredControl() noexcept;

LRESULT CALLBACK TreeSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CtrlSubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace kelpy::basTOC
