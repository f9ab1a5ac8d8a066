// Opening a map document of the map model (mapmodel.dll): through its registration, or, where
// the map model is not registered, from mapmodel.dll beside this program.
#pragma once
#include <string>
#include "com/ptr.h"
#include "mapmodel.h"

namespace snapshot {

// The map of the document at `path`. A missing or broken document is an error whose
// description says what is wrong with it. Throws com::ComError.
com::ComPtr<IMap> open_map(const std::wstring& path);

}  // namespace snapshot
