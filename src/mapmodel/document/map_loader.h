// Map documents: a JSON text describing a whole map (see docs/mapmodel.md). load_map builds the
// map completely before handing it out, so a document with an error gives no map at all; the
// error (E_BAD_DOCUMENT) names the document, where in it (line and column for syntax errors,
// the member's path otherwise) and what is wrong.
#pragma once
#include <string_view>
#include "com/ptr.h"
#include "mapmodel/document/json_reader.h"
#include "mapmodel/map/map.h"

namespace mapmodel::document {

com::ComPtr<Map> load_map(std::string_view text, std::wstring_view name);

}  // namespace mapmodel::document
