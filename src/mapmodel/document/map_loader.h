// Map documents: a JSON text describing a whole map (see docs/mapmodel.md). load_map builds the
// map completely before handing it out, so a document with an error gives no map at all; the
// error (E_BAD_DOCUMENT) names the document, where in it (line and column for syntax errors,
// the member's path otherwise) and what is wrong. A layer may take its features from a data
// file (GeoJSON or TopoJSON) named as its "source"; an error in the file names the layer's
// source, the file and the place in it.
#pragma once
#include <string_view>
#include "com/ptr.h"
#include "mapmodel/json/json_reader.h"
#include "mapmodel/map/map.h"

namespace mapmodel::document {

// Documents are read through the JSON reader's nodes, and fail with its error.
using json::E_BAD_DOCUMENT;
using json::kMaxDepth;
using json::Node;
using json::parse;

// Whether the data files that layers name as their sources are read (for a map to show), or
// only named (to check a text that is being saved: its layers get empty feature classes).
enum class DataFiles { Read, Named };

// `name` names the document in errors; layers' sources are relative to its folder (the current
// folder when it has none).
com::ComPtr<Map> load_map(std::string_view text, std::wstring_view name, DataFiles files = DataFiles::Read);

}  // namespace mapmodel::document
