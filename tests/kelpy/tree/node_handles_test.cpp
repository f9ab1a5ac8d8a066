// The two lookups between items and native handles.
#include <gtest/gtest.h>
#include "kelpy/common/plain_tree.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"
#include "kelpy/model/items.h"

using namespace test;
using host::selected_item;
using kelpy::NodePtr;

namespace {

TEST(NodeHandles, GetNodeHandleAnswersTheNativeHandleAndLeavesNothingSelected) {
    PlainTree host;
    ASSERT_EQ(host.initialize(make_map(L"M", {feature_layer(L"A"), feature_layer(L"B")}).get()), S_OK);
    auto& nodes = host.view().Nodes();
    NodePtr b = nodes.Item(3);
    b->Selected(true);
    ASSERT_EQ(selected_item(host.tree()), b->handle());
    EXPECT_EQ(kelpy::GetNodeHandle(host.view(), b), reinterpret_cast<LONG_PTR>(b->handle()));
    EXPECT_EQ(selected_item(host.tree()), nullptr);
    EXPECT_FALSE(b->Selected());
}

TEST(NodeHandles, FindNodeByHandleFindsEveryItemAndNothingForZeroOrUnknownHandles) {
    PlainTree host;
    EXPECT_FALSE(kelpy::FindNodeByHandle(host.view(), 0));  // empty tree
    ASSERT_EQ(host.initialize(make_map(L"M", {group_layer(L"G", {feature_layer(L"A")}), feature_layer(L"B")}).get()), S_OK);
    auto& nodes = host.view().Nodes();
    for (long k = 1; k <= nodes.Count(); ++k) {
        NodePtr n = nodes.Item(k);
        EXPECT_EQ(kelpy::FindNodeByHandle(host.view(), reinterpret_cast<LONG_PTR>(n->handle())), n) << k;
    }
    EXPECT_FALSE(kelpy::FindNodeByHandle(host.view(), 0));
    // A handle of the previous tree finds nothing after a rebuild (unless the native tree reused it
    // for an item of the new tree, whose record then carries it).
    const LONG_PTR old = reinterpret_cast<LONG_PTR>(nodes.Item(2)->handle());
    ASSERT_EQ(host.reset(), S_OK);
    NodePtr found = kelpy::FindNodeByHandle(host.view(), old);
    if (found) {
        EXPECT_EQ(kelpy::RecordOf(found)->Handle, old);
    }
    EXPECT_FALSE(kelpy::FindNodeByHandle(host.view(), 0x12345));
}

TEST(NodeHandles, AnItemWhoseRecordCarriesAnotherHandleIsNotFoundByItsOwn) {
    PlainTree host;
    ASSERT_EQ(host.initialize(make_map(L"M", {feature_layer(L"A")}).get()), S_OK);
    NodePtr a = host.view().Nodes().Item(2);
    kelpy::RecordOf(a)->Handle = 1;
    EXPECT_FALSE(kelpy::FindNodeByHandle(host.view(), reinterpret_cast<LONG_PTR>(a->handle())));
}

}  // namespace
