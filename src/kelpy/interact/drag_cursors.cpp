#include "kelpy/interact/drag_cursors.h"
#include <map>
#include <mutex>
#include <utility>
#include "com/module.h"

namespace kelpy::interact {

HCURSOR DragCursor(int id, platform::Dpi dpi) {
    // Asked for at every move of a drag, so each cursor is looked up once per size and kept
    // (loading a resource cursor, even a shared one, costs as much as the rest of the move).
    static std::mutex guard;
    static std::map<std::pair<int, int>, HCURSOR> loaded;
    const int size = dpi(32);
    const std::lock_guard lock(guard);
    HCURSOR& c = loaded[{id, size}];
    if (c) return c;
    // At the system's own cursor size, the system's shared copy (the cursor LoadCursor gives).
    if (size == GetSystemMetrics(SM_CXCURSOR)) c = LoadCursorW(com::Module::handle(), MAKEINTRESOURCEW(id));
    else c = static_cast<HCURSOR>(LoadImageW(com::Module::handle(), MAKEINTRESOURCEW(id), IMAGE_CURSOR, size, size, 0));
    return c;
}

}  // namespace kelpy::interact
