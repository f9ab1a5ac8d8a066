// Finding the control's items (its Nodes) by text and by parent, for tests that read records.
#pragma once
#include <string_view>
#include <vector>
#include "kelpy/platform/node_collection.h"

namespace test {

// The first item with this text in the order of adding, or null.
kelpy::platform::NodePtr item_named(const kelpy::platform::NodeCollection& nodes, std::wstring_view text);
// The children of an item, in the order of adding.
std::vector<kelpy::platform::NodePtr> children_of(const kelpy::platform::NodeCollection& nodes,
                                                  const kelpy::platform::NodePtr& parent);

}  // namespace test
