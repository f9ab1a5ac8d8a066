// The drawing tests' fixture: a hosted control showing a map, its items and their rectangles.
#pragma once
#include <gtest/gtest.h>
#include <initializer_list>
#include <string_view>
#include <vector>
#include "kelpy/common/hosted_control.h"
#include "kelpy/common/item_lookup.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"
#include "kelpy/draw/fake_symbol.h"

namespace test {

using host::item_rect;

class Drawing : public ::testing::Test {
protected:
    HostedControl host;

    kelpy::platform::NodeCollection& nodes() { return host.toc().tree().Nodes(); }
    void show(std::initializer_list<com::ComPtr<ILayer>> layers) {
        ASSERT_EQ(host.initialize(make_map(L"World", layers).get()), S_OK);
    }
    kelpy::NodePtr item(std::wstring_view text) {
        kelpy::NodePtr found = item_named(nodes(), text);
        EXPECT_TRUE(found) << "no item " << std::string(text.begin(), text.end());
        return found;
    }
    // The first legend row under a layer's item.
    kelpy::NodePtr first_row(std::wstring_view layer) {
        auto rows = children_of(nodes(), item(layer));
        EXPECT_FALSE(rows.empty());
        return rows.empty() ? kelpy::NodePtr() : rows.front();
    }
    // The height of an item's row (from its top to the top of the next row shown) and of a
    // standard row, in pixels, as the tree reports them.
    int row_height(const kelpy::NodePtr& node) {
        auto next = reinterpret_cast<HTREEITEM>(
            SendMessageW(host.tree(), TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(node->handle())));
        EXPECT_TRUE(next) << "no row below";
        return item_rect(host.tree(), next, false).top - item_rect(host.tree(), node->handle(), false).top;
    }
    int standard_row() { return int(SendMessageW(host.tree(), TVM_GETITEMHEIGHT, 0, 0)); }
};

}  // namespace test
