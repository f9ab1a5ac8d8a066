// The legend tests' fixture: a hosted control showing a map, and access to its items.
#pragma once
#include <gtest/gtest.h>
#include <initializer_list>
#include <string_view>
#include <vector>
#include "kelpy/common/plain_tree.h"
#include "kelpy/common/item_lookup.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/model/items.h"

namespace test {

class Legends : public ::testing::Test {
protected:
    PlainTree host;

    kelpy::platform::NodeCollection& nodes() { return host.view().Nodes(); }
    // Shows a map of these layers; answers the status of Initialize (its rebuild).
    HRESULT show(std::initializer_list<com::ComPtr<ILayer>> layers) {
        return host.initialize(make_map(L"World", layers).get());
    }
    kelpy::NodePtr layer_item(std::wstring_view name) {
        kelpy::NodePtr item = item_named(nodes(), name);
        EXPECT_TRUE(item) << "no item " << std::string(name.begin(), name.end());
        return item;
    }
    // The legend rows under a layer's item, in order.
    std::vector<kelpy::NodePtr> rows(std::wstring_view layer) { return children_of(nodes(), layer_item(layer)); }
    static com::ComPtr<kelpy::TocNode> record(const kelpy::NodePtr& item) { return kelpy::RecordOf(item); }
};

}  // namespace test
