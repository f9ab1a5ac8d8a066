// The tree of a TOC control as indented text: one line per item, two spaces per level, with
// the item's text and, in brackets, its key, image, node type and expanded state.
#pragma once
#include <string>
#include <vector>
#include "kelpy/control/toc.h"

namespace snapshot {

std::wstring tree_text(const std::vector<kelpy::Toc::ItemDescription>& items);
// The name of a node type as the type library spells it.
const wchar_t* node_type_name(::TOCNodeType type);

}  // namespace snapshot
