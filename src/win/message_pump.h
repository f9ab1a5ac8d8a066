// DoEvents: lets the thread's pending window messages run once, the way a container's message
// pump would, before the caller goes on.
#pragma once

namespace win {

// Runs every message that is pending now. A quit request belongs to the thread's own loop: it
// is put back and DoEvents stops there, answering false (true when every message ran).
bool DoEvents();

}  // namespace win
