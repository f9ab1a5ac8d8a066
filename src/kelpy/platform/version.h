// The library's version, as its version resource states it: the first three fields of the file
// version are major, minor and revision.
#pragma once
#include <windows.h>

namespace kelpy::platform {

struct LibraryVersion {
    int major = 0, minor = 0, revision = 0;
};

// The version of a loaded module; a module without a version resource is an error.
LibraryVersion ReadVersion(HMODULE module);
// The version of the binary this code runs in (kelpy.dll).
LibraryVersion Version();

}  // namespace kelpy::platform
