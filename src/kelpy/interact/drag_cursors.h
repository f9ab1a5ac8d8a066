// The drag cursors of the control's resources, at the size for a resolution (32 pixels at 96 dpi,
// scaled; each cursor resource holds pictures drawn for 32, 48 and 64 pixels, and the system picks
// the one nearest the size).
#pragma once
#include <windows.h>
#include "kelpy/platform/dpi.h"

namespace kelpy::interact {

// The cursor KELPY_CURSOR_DRAG_UP, _DOWN or _BOTH for `dpi`: at the system's cursor size the
// shared one; at other sizes loaded once per size and kept for the process's life (a cursor
// shown may not be destroyed; there are few sizes).
HCURSOR DragCursor(int id, platform::Dpi dpi);

}  // namespace kelpy::interact
