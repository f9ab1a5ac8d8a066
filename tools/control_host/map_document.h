// Opening a map document of the map model (mapmodel.dll, registered or beside the program).
#pragma once
#include <string>
#include "com/ptr.h"
#include "mapmodel.h"

namespace host {

// The document at `path`, opened, with its map. A missing or broken document is an error whose
// description names the document and says what is wrong with it. Throws com::ComError.
com::ComPtr<IMapDocument> open_document(const std::wstring& path);
// The map of the document at `path` (as open_document).
com::ComPtr<IMap> open_map(const std::wstring& path);

}  // namespace host
