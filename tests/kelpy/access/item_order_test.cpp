// Child ids follow the order the tree shows, whatever the order in which the items were added,
// and a new set of items gets a new order.
#include <gtest/gtest.h>
#include "kelpy/access/item_order.h"
#include "kelpy/common/plain_tree.h"
#include "tree_reader.h"

namespace {

using kelpy::platform::Relationship;

TEST(ItemOrder, ChildIdsAreTheTreesDepthFirstOrderWhateverTheOrderOfAdding) {
    test::PlainTree plain;
    auto& nodes = plain.view().Nodes();
    auto add = [&](std::wstring_view parent, std::wstring_view key) {
        nodes.Add({.relative = parent, .relationship = Relationship::Child, .key = key, .text = key});
    };
    add(L"", L"A");
    add(L"", L"B");
    add(L"A", L"A1");
    add(L"A1", L"A1x");
    add(L"B", L"B1");
    add(L"A", L"A2");
    kelpy::access::ItemOrder order(nodes);

    const auto shown = host::read_items(plain.tree());
    ASSERT_EQ(order.Count(), long(shown.size()));
    for (long id = 1; id <= order.Count(); ++id) {
        const host::NativeItem& n = shown[size_t(id) - 1];
        EXPECT_EQ(order.At(id)->Text(), n.text);
        EXPECT_EQ(order.DepthOf(id), n.depth);
        EXPECT_EQ(order.IdOf(n.handle), id);
    }
    EXPECT_EQ(order.At(1)->Text() + order.At(4)->Text() + order.At(6)->Text(), L"AA2B1");
    EXPECT_FALSE(order.At(7));
    EXPECT_EQ(order.IdOf(nullptr), 0);

    nodes.Clear();
    add(L"", L"C");
    EXPECT_EQ(order.Count(), 1);
    EXPECT_EQ(order.At(1)->Text(), L"C");
}

}  // namespace
