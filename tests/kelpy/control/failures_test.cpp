// Failures in the middle of a rebuild: the error comes back from Reset, the tree stays hidden,
// the next good rebuild recovers, and nothing leaks.
#include <gtest/gtest.h>
#include "com/bstr.h"
#include "kelpy/common/faulty_group.h"
#include "kelpy/common/faulty_layer.h"
#include "kelpy/common/faulty_map.h"
#include "kelpy/common/hosted_control.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"
#include "kelpy/model/items.h"

using namespace test;
using host::has_visible_style;
using host::outline;

namespace {

std::wstring error_description() {
    com::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) return {};
    com::Bstr text;
    info->GetDescription(text.put());
    return text.str();
}

TEST(Failures, EveryFailingMapCallEndsTheRebuildWithItsErrorAndTheNextRebuildRecovers) {
    const long objects = live_objects();
    const long map_objects = live_map_objects();
    {
        HostedControl host;
        auto real = make_map(L"Parcels", {feature_layer(L"Roads"), group_layer(L"Base", {feature_layer(L"Rivers")}),
                                          feature_layer(L"Photo")});
        auto map = FaultyMap::wrap(real);
        ASSERT_EQ(host.initialize(map.get()), S_OK);
        const std::wstring good = outline(host.tree());
        const int calls = map->calls();
        ASSERT_GE(calls, 5);  // name, count and one call per top-level layer

        for (int n = 1; n <= calls; ++n) {
            map->fail_at(n, E_INVALIDARG, L"call " + std::to_wstring(n) + L" failed");
            EXPECT_EQ(host.reset(), E_INVALIDARG) << n;
            EXPECT_EQ(error_description(), L"call " + std::to_wstring(n) + L" failed");
            EXPECT_FALSE(has_visible_style(host.tree())) << n;
            EXPECT_FALSE(host.toc().builder().resetting()) << n;  // over, though it failed

            map->fail_at(0);
            ASSERT_EQ(host.reset(), S_OK) << n;
            EXPECT_EQ(outline(host.tree()), good) << n;
            EXPECT_TRUE(has_visible_style(host.tree()));
            EXPECT_FALSE(host.toc().builder().resetting());
        }
    }
    EXPECT_EQ(live_objects(), objects);
    EXPECT_EQ(live_map_objects(), map_objects);
}

TEST(Failures, ALayerThatFailsKeepsTheItemsBuiltBeforeIt) {
    HostedControl host;
    // Calls of the layer: valid (1), visible (2), name (3).
    for (int n = 1; n <= 3; ++n) {
        auto map = make_map(L"M", {feature_layer(L"Before"), FaultyLayer::make(L"Bad", n), feature_layer(L"After")});
        EXPECT_EQ(host.initialize(map.get()), E_FAIL) << n;
        EXPECT_EQ(error_description(), L"The layer Bad failed on purpose");
        EXPECT_FALSE(has_visible_style(host.tree()));
        EXPECT_EQ(outline(host.tree()), L"M [root] bold collapsed\n  Before [checked]\n") << n;
    }
    // The same layer, once it works, takes its place.
    auto map = make_map(L"M", {FaultyLayer::make(L"Good", 0)});
    ASSERT_EQ(host.initialize(map.get()), S_OK);
    EXPECT_EQ(outline(host.tree()), L"M [root] bold expanded\n  Good [checked]\n\n");
}

// A layer request that succeeds but answers Nothing ends the rebuild with "Object variable not
// set" (91), like any failing step, and the next good rebuild recovers.
TEST(Failures, ALayerAnsweredAsNothingEndsTheRebuildWithError91) {
    HostedControl host;
    auto map = FaultyMap::wrap(make_map(L"M", {feature_layer(L"A"), feature_layer(L"B")}));
    map->answer_nothing_at(1);
    EXPECT_EQ(host.initialize(map.get()), com::CTL_E_OBJECTNOTSET);
    EXPECT_EQ(error_description(), L"The map answered Nothing for its layer 1");
    EXPECT_FALSE(has_visible_style(host.tree()));
    EXPECT_EQ(outline(host.tree()), L"M [root] bold collapsed\n  A [checked]\n");

    auto group = FaultyGroup::wrap(group_layer(L"Hollow", {feature_layer(L"C"), feature_layer(L"D")}));
    group->answer_nothing_at(1);
    EXPECT_EQ(host.initialize(make_map(L"G", {group->layer()}).get()), com::CTL_E_OBJECTNOTSET);
    EXPECT_EQ(error_description(), L"The group layer Hollow answered Nothing for its member 1");

    map->answer_nothing_at(-1);
    ASSERT_EQ(host.initialize(map.get()), S_OK);
    EXPECT_EQ(outline(host.tree()), L"M [root] bold expanded\n  A [checked]\n  B [checked]\n\n");
}

TEST(Failures, WithoutTheExpandedStateMemoryTheFirstLayerFails) {
    HostedControl host({.start = false});
    // A map without layers needs no memory.
    ASSERT_EQ(host.initialize(make_map(L"Empty").get()), S_OK);
    // The layer item is added with its record, then its expanded state cannot be looked up.
    EXPECT_EQ(host.initialize(make_map(L"M", {feature_layer(L"A"), feature_layer(L"B")}).get()),
              com::CTL_E_SUBSCRIPTOUTOFRANGE);
    EXPECT_EQ(outline(host.tree()), L"M [root] bold collapsed\n  A [checked]\n");
    auto a = host.toc().tree().Nodes().Item(2);
    EXPECT_EQ(kelpy::RecordOf(a)->TOCNodeType, TOCNodeType::Layer);
    // A group item is added, and fails before its record.
    EXPECT_EQ(host.initialize(make_map(L"M", {group_layer(L"G", {feature_layer(L"A")})}).get()),
              com::CTL_E_SUBSCRIPTOUTOFRANGE);
    auto g = host.toc().tree().Nodes().Item(2);
    EXPECT_EQ(g->Text(), L"G");
    EXPECT_FALSE(kelpy::TagOf(g));
}

}  // namespace
