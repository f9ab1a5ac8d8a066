// What the container tests share: a control made in this test program and hosted by our own
// container (host::ControlHost), the check that a window's procedure is a given module's, and
// the check that a control window answers its tree's custom draw (the event sink that records
// what it receives is a common fixture).
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <string>
#include <vector>
#include "com/object.h"
#include "com/ptr.h"
#include "control_host.h"
#include "kelpy/common/event_sink.h"
#include "kelpy/control/toc.h"

namespace test {

// A new control of this program's own code (its class factory's instance).
com::ComPtr<kelpy::Toc> new_control();
// How our container hosts it: size, ambient UserMode (empty: not offered), persistence.
host::HostOptions options(int width, int height, std::optional<bool> userMode = true,
                          host::Persistence persistence = host::Persistence::InitNew);
bool same_rect(const RECT& a, const RECT& b);

// True when the window's procedure was replaced (it is not its class's) by code of `module`.
bool hooked_by(HWND window, HMODULE module);
// True when the control window answers the start of its tree's paint cycle, sent as the tree
// sends it, by asking for every item (the legends' swatches are painted then).
bool answers_custom_draw(HWND control_window);
// The window's rectangle in the client coordinates of its parent.
RECT rect_in_parent(HWND window);
// The bounding box of the pixels that are not `background`; empty when there are none.
RECT ink_box(const host::Pixels& p, DWORD background);

}  // namespace test
