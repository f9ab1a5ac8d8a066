// Rebuilding the tree from the map: items, keys, images, records, expanded states, selection.
#include <gtest/gtest.h>
#include <regex>
#include "com/bstr.h"
#include "kelpy/common/plain_tree.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/common/message_spy.h"
#include "tree_reader.h"
#include "kelpy/platform/random.h"
#include "kelpy/model/items.h"

using namespace test;
using host::has_visible_style;
using host::outline;
using host::read_item;
using host::read_items;
using host::selected_item;
using kelpy::NodePtr;

namespace {

class Rebuild : public ::testing::Test {
protected:
    PlainTree host;
    kelpy::platform::NodeCollection& nodes() { return host.view().Nodes(); }
    kelpy::NodeStates& states() { return host.builder().states(); }
    com::ComPtr<kelpy::TocNode> record(std::wstring_view key) { return kelpy::RecordOf(nodes().Item(key)); }
    NodePtr item_named(std::wstring_view text) {
        for (long k = 1; k <= nodes().Count(); ++k)
            if (nodes().Item(k)->Text() == text) return nodes().Item(k);
        return {};
    }
    void bind(const com::ComPtr<IMap>& map) { ASSERT_EQ(host.initialize(map.get()), S_OK); }
};

TEST_F(Rebuild, MapWithoutLayersGivesTheBoldSelectedRootAndTheHolder) {
    bind(make_map(L"Parcels"));
    EXPECT_EQ(outline(host.tree()), L"Parcels [root] bold\n\n");
    ASSERT_EQ(nodes().Count(), 2);
    EXPECT_EQ(nodes().Item(1)->Key(), L"root");
    EXPECT_EQ(nodes().Item(2)->Key(), L"holder");
    EXPECT_EQ(record(L"root")->TOCNodeType, TOCNodeType::Root);
    EXPECT_EQ(record(L"holder")->TOCNodeType, TOCNodeType::Holder);
    EXPECT_EQ(selected_item(host.tree()), nodes().Item(L"root")->handle());
    EXPECT_TRUE(has_visible_style(host.tree()));
    EXPECT_FALSE(host.builder().resetting());
}

TEST_F(Rebuild, LayersFollowTheMapOrderWithVisibilityImagesAndGroupMembers) {
    auto rivers = feature_layer(L"Rivers");
    auto lakes = feature_layer(L"Lakes", false);
    auto base = group_layer(L"Base", {rivers, lakes});
    auto roads = feature_layer(L"Roads");
    auto photo = make_layer(LayerKind::Raster, L"Photo", false);
    auto broken = make_layer(LayerKind::Plain, L"Broken", true, false);
    auto hidden_broken = make_layer(LayerKind::Plain, L"Gone", false, false);
    bind(make_map(L"Parcels", {roads, base, photo, broken, hidden_broken}));

    EXPECT_EQ(outline(host.tree()),
              L"Parcels [root] bold expanded\n"
              L"  Roads [checked]\n"
              L"  Base [checked] expanded\n"
              L"    Rivers [checked]\n"
              L"    Lakes [unchecked]\n"
              L"  Photo [unchecked]\n"
              L"  Broken [disconnected]\n"
              L"  Gone [disconnected]\n"
              L"\n");

    // Items are numbered in the order of adding; the holder comes last.
    std::vector<std::wstring> texts;
    for (long k = 1; k <= nodes().Count(); ++k) texts.push_back(nodes().Item(k)->Text());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Parcels", L"Roads", L"Base", L"Rivers", L"Lakes", L"Photo",
                                                L"Broken", L"Gone", L""}));

    // Records: the group item holds the group; members know their group, top-level layers none.
    auto group = record(L"gl1");
    EXPECT_EQ(group->TOCNodeType, TOCNodeType::GroupLayer);
    EXPECT_TRUE(com::same_object(group->Layer.get(), base.get()));
    EXPECT_FALSE(group->GroupLayer);
    for (auto [text, layer, in_group] : {std::tuple{L"Rivers", rivers, true}, std::tuple{L"Roads", roads, false},
                                         std::tuple{L"Broken", broken, false}}) {
        auto r = kelpy::RecordOf(item_named(text));
        EXPECT_EQ(r->TOCNodeType, TOCNodeType::Layer) << text;
        EXPECT_TRUE(com::same_object(r->Layer.get(), layer.get())) << text;
        EXPECT_EQ(bool(r->GroupLayer), in_group) << text;
        if (in_group) {
            EXPECT_TRUE(com::same_object(r->GroupLayer.get(), base.get()));
        }
        EXPECT_EQ(r->LayerType, LayerType::FeatureLayer);
        EXPECT_EQ(r->ShapeType, 0);
    }
    // Every item's record carries the item's own native handle.
    for (long k = 1; k <= nodes().Count(); ++k) {
        NodePtr n = nodes().Item(k);
        EXPECT_EQ(kelpy::RecordOf(n)->Handle, reinterpret_cast<LONG_PTR>(n->handle()));
    }
}

TEST_F(Rebuild, GroupKeysNameTheMapPositionAndLayerKeysAreRandomDigits) {
    auto first = group_layer(L"First", {feature_layer(L"A")});
    auto second = group_layer(L"Second", {group_layer(L"Inner", {})});
    bind(make_map(L"M", {first, feature_layer(L"Between"), second}));

    EXPECT_EQ(nodes().Item(L"gl0")->Text(), L"First");
    EXPECT_EQ(nodes().Item(L"gl2")->Text(), L"Second");
    EXPECT_FALSE(nodes().Contains(L"gl1"));
    const std::wregex layer_key(L"l[0-9]+");
    for (const wchar_t* text : {L"A", L"Between", L"Inner"}) {
        const std::wstring key = item_named(text)->Key();
        EXPECT_TRUE(std::regex_match(key, layer_key)) << key;
        const long value = std::stol(key.substr(1));
        EXPECT_GE(value, 1);
        EXPECT_LE(value, 1000001);
    }
    // A group inside a group is a plain layer item: check image, record type Layer, no children.
    NodePtr inner = item_named(L"Inner");
    EXPECT_EQ(kelpy::RecordOf(inner)->TOCNodeType, TOCNodeType::Layer);
    EXPECT_EQ(inner->Image(), L"checked");
    EXPECT_EQ(inner->Children(), 0);
    EXPECT_EQ(inner->Parent()->Key(), L"gl2");
    // The plain layer lies between the two groups under the root.
    EXPECT_EQ(item_named(L"Between")->Parent()->Key(), L"root");
    EXPECT_EQ(item_named(L"Between")->Index(), nodes().Item(L"gl0")->Index() + 2);
}

TEST_F(Rebuild, TakenLayerKeysAreDrawnAgain) {
    // The first two draws give the same key; the second layer draws a third time.
    const float draws[] = {0.5f, 0.5f, 0.25f};
    size_t next = 0;
    kelpy::platform::ScopedRandomSource source([&] { return draws[next++ % 3]; });
    bind(make_map(L"M", {feature_layer(L"One"), feature_layer(L"Two")}));
    EXPECT_EQ(item_named(L"One")->Key(), L"l500001");
    EXPECT_EQ(item_named(L"Two")->Key(), L"l250001");
}

TEST_F(Rebuild, LayerKeysRoundTheDrawHalvesToEvenAndStayWithinRange) {
    // 0.0234375 * 1000000 + 1 = 23438.5, which goes to the even 23438; 0 gives 1, and the largest
    // fraction below 1 gives 1000001.
    const float draws[] = {0.0234375f, 0.0f, 0.99999994f};
    size_t next = 0;
    kelpy::platform::ScopedRandomSource source([&] { return draws[next++]; });
    bind(make_map(L"M", {feature_layer(L"One"), feature_layer(L"Two"), feature_layer(L"Three")}));
    EXPECT_EQ(item_named(L"One")->Key(), L"l23438");
    EXPECT_EQ(item_named(L"Two")->Key(), L"l1");
    EXPECT_EQ(item_named(L"Three")->Key(), L"l1000001");
}

TEST_F(Rebuild, ExpandedStatesComeFromTheMemoryAndItsSnapshotReplacesIt) {
    // The memory as the run-time start-up made it: two empty entries, the first expanded.
    ASSERT_EQ(states().UBound(), 1);
    EXPECT_TRUE(states()[0].Expanded);
    EXPECT_FALSE(states()[1].Expanded);

    auto map = make_map(L"Parcels", {group_layer(L"Base", {feature_layer(L"Rivers")}),
                                     group_layer(L"Roads", {feature_layer(L"Paths")}), feature_layer(L"Photo")});
    bind(map);
    // No remembered state: groups show their members.
    EXPECT_EQ(outline(host.tree()),
              L"Parcels [root] bold expanded\n"
              L"  Base [checked] expanded\n"
              L"    Rivers [checked]\n"
              L"  Roads [checked] expanded\n"
              L"    Paths [checked]\n"
              L"  Photo [checked]\n"
              L"\n");
    // One entry per item with children, in the order of adding, and the trailing entry.
    ASSERT_EQ(states().UBound(), 3);
    EXPECT_EQ(states()[0].Text, L"Parcels");
    EXPECT_EQ(states()[1].Text, L"Base");
    EXPECT_EQ(states()[2].Text, L"Roads");
    EXPECT_EQ(states()[3].Text, L"");
    EXPECT_FALSE(states()[3].Expanded);

    // A remembered collapsed state holds over the next rebuilds, by text.
    states().SetExpanded(2, false);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(host.reset(), S_OK);
        EXPECT_EQ(outline(host.tree()),
                  L"Parcels [root] bold expanded\n"
                  L"  Base [checked] expanded\n"
                  L"    Rivers [checked]\n"
                  L"  Roads [checked] collapsed\n"
                  L"    Paths [checked]\n"
                  L"  Photo [checked]\n"
                  L"\n");
        EXPECT_FALSE(states()[2].Expanded);
    }
    // The root is expanded whatever the memory says of its text.
    states().SetExpanded(0, false);
    ASSERT_EQ(host.reset(), S_OK);
    EXPECT_TRUE(read_item(host.tree(), nodes().Item(L"root")->handle()).expanded());
    EXPECT_TRUE(states()[0].Expanded);
}

TEST_F(Rebuild, LayerItemsGetTheirRememberedStateAndTheTrailingEntryKeepsItsValue) {
    auto& memory = states();
    memory.Redim(3);
    memory.Set(0, L"Roads", false);
    memory.Set(3, L"kept", true);
    bind(make_map(L"M", {feature_layer(L"Roads"), feature_layer(L"Rivers")}));
    EXPECT_FALSE(read_item(host.tree(), item_named(L"Roads")->handle()).expanded());
    EXPECT_TRUE(read_item(host.tree(), item_named(L"Rivers")->handle()).expanded());
    // Only the root has children: entry 0 is its, entry 1 keeps what it held.
    ASSERT_EQ(memory.UBound(), 1);
    EXPECT_EQ(memory[0].Text, L"M");
    EXPECT_EQ(memory[1].Text, L"");
    EXPECT_FALSE(memory[1].Expanded);
}

// The snapshot cuts the memory to two entries at its first entry and grows it by a new entry
// for each further one: the old trailing entry stays only when one item has children, and no
// state of an earlier tree comes back for a later item.
TEST_F(Rebuild, TheSnapshotKeepsTheOldTrailingEntryOnlyForOneItemWithChildren) {
    auto four_entries = [&] {
        states().Redim(3);
        states().Set(1, L"Second", false);
        states().Set(2, L"Later", false);
        states().Set(3, L"Trailing", false);
    };
    four_entries();
    bind(make_map(L"M", {feature_layer(L"A")}));
    ASSERT_EQ(states().UBound(), 1);
    EXPECT_EQ(states()[0].Text, L"M");
    EXPECT_EQ(states()[1].Text, L"Second");

    four_entries();
    auto map = make_map(L"M", {group_layer(L"Base", {feature_layer(L"A")})});
    bind(map);
    ASSERT_EQ(states().UBound(), 2);
    EXPECT_EQ(states()[1].Text, L"Base");
    EXPECT_EQ(states()[2].Text, L"");
    EXPECT_FALSE(states()[2].Expanded);
    // A group named like the dropped entry is new to this tree: it shows its members.
    append_layer(map.get(), group_layer(L"Later", {feature_layer(L"B")}).get());
    ASSERT_EQ(host.reset(), S_OK);  // what the control does on the map's notification
    ASSERT_TRUE(item_named(L"Later"));
    EXPECT_TRUE(read_item(host.tree(), item_named(L"Later")->handle()).expanded());
}

TEST_F(Rebuild, AMapWithoutLayersLeavesTheMemoryAlone) {
    states().Set(1, L"kept", true);
    bind(make_map(L"Empty"));
    ASSERT_EQ(states().UBound(), 1);
    EXPECT_EQ(states()[1].Text, L"kept");
}

TEST_F(Rebuild, TheSelectNameSelectsTheFirstMatchingItemOrNothing) {
    auto map = make_map(L"M", {group_layer(L"Base", {feature_layer(L"Lakes")}), feature_layer(L"Lakes"),
                               feature_layer(L"Roads")});
    host.builder().SelectAfterRebuild(L"Lakes");
    bind(map);
    NodePtr first = nodes().Item(L"gl0")->Child();
    EXPECT_EQ(selected_item(host.tree()), first->handle());

    host.builder().SelectAfterRebuild(L"lakes");  // binary comparison: no match
    ASSERT_EQ(host.reset(), S_OK);
    EXPECT_EQ(selected_item(host.tree()), nullptr);

    host.builder().SelectAfterRebuild({});
    ASSERT_EQ(host.reset(), S_OK);
    EXPECT_EQ(selected_item(host.tree()), nodes().Item(L"root")->handle());
}

TEST_F(Rebuild, ResetBeforeInitializeAndInitializeWithNothingLeaveTheTreeEmptyAndHidden) {
    EXPECT_EQ(host.reset(), S_OK);
    EXPECT_EQ(read_items(host.tree()).size(), 0u);
    EXPECT_FALSE(has_visible_style(host.tree()));
    EXPECT_FALSE(host.builder().resetting());  // over, though it ended early

    bind(make_map(L"M", {feature_layer(L"A")}));
    EXPECT_TRUE(has_visible_style(host.tree()));
    const long entries = states().UBound();
    EXPECT_EQ(host.initialize(nullptr), S_OK);
    EXPECT_EQ(read_items(host.tree()).size(), 0u);
    EXPECT_FALSE(has_visible_style(host.tree()));
    EXPECT_EQ(states().UBound(), entries);
}

TEST_F(Rebuild, TheFrameIsRepaintedWhenARebuildChangesWhatItShows) {
    auto map = make_map(L"M", {feature_layer(L"A")});
    bind(map);
    // How many frame paints a Reset and the paints after it make; the first paint of the items
    // paints no frame.
    const auto frame_paints = [&] {
        MessageSpy spy(host.tree(), {WM_NCPAINT});
        EXPECT_EQ(host.reset(), S_OK);
        const size_t by_reset = spy.sent.size();
        RedrawWindow(host.tree(), nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
        EXPECT_EQ(spy.sent.size(), by_reset);
        return by_reset;
    };
    RedrawWindow(host.tree(), nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
    ASSERT_FALSE(GetWindowLongPtrW(host.tree(), GWL_STYLE) & WS_VSCROLL);

    // Rows enough for a scroll bar: the frame shows it.
    for (int i = 0; i < 60; ++i) ASSERT_EQ(map->AddLayer(feature_layer(L"L" + std::to_wstring(i)).get()), S_OK);
    EXPECT_GE(frame_paints(), 1u);
    ASSERT_TRUE(GetWindowLongPtrW(host.tree(), GWL_STYLE) & WS_VSCROLL);
    // The same again: the frame already shows it.
    EXPECT_EQ(frame_paints(), 0u);
}

}  // namespace
