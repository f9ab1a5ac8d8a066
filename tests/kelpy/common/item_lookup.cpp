#include "kelpy/common/item_lookup.h"

namespace test {

kelpy::platform::NodePtr item_named(const kelpy::platform::NodeCollection& nodes, std::wstring_view text) {
    for (long k = 1; k <= long(nodes.size()); ++k)
        if (nodes.Item(k)->Text() == text) return nodes.Item(k);
    return {};
}

std::vector<kelpy::platform::NodePtr> children_of(const kelpy::platform::NodeCollection& nodes,
                                                  const kelpy::platform::NodePtr& parent) {
    std::vector<kelpy::platform::NodePtr> children;
    for (long k = 1; k <= long(nodes.size()); ++k)
        if (kelpy::platform::NodePtr node = nodes.Item(k); node->Parent() == parent) children.push_back(node);
    return children;
}

}  // namespace test
