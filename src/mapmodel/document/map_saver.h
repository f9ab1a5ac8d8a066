// Saving a map as a map document (see docs/mapmodel.md): every member the loader reads, so
// that loading the text gives an equal map, and saving that map gives the same bytes again.
// The map's layers are read through the model's interfaces, so layers, renderers and symbols
// that a host made itself are saved too when the document format can describe them.
#pragma once
#include <string>
#include <string_view>
#include "com/ptr.h"
#include "mapmodel/map/map.h"

namespace mapmodel::document {

// The document's text. Anything the format cannot hold (a value that is neither a number nor a
// text, an empty shape, a feature layer without a feature class, ...) raises E_BAD_DOCUMENT
// "<name>: cannot save the map: <member path>: <what>". Before answering, the text is loaded
// back with the loader, so a document that would not open again is never handed out.
std::string save_map(Map& map, std::wstring_view name);

}  // namespace mapmodel::document
