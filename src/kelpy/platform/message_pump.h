// DoEvents: lets the thread's pending window messages run once, the way a container's message
// pump would, before the caller goes on.
#pragma once

namespace kelpy::platform {

void DoEvents();

}  // namespace kelpy::platform
