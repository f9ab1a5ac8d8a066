// Initialize and the map's view notifications.
#include <gtest/gtest.h>
#include "com/bstr.h"
#include "kelpy/common/faulty_map.h"
#include "kelpy/common/hosted_control.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"

using namespace test;
using host::outline;
using host::read_items;

namespace {

// A map whose calls are counted: every rebuild asks the map for its name exactly once.
class Binding : public ::testing::Test {
protected:
    HostedControl host;
    com::ComPtr<IMap> real = make_map(L"Parcels", {feature_layer(L"Roads"), feature_layer(L"Rivers")});
    com::ComPtr<FaultyMap> counted = FaultyMap::wrap(real);

    int rebuilds() const { return counted->name_reads(); }
    IMap* map() const { return counted.get(); }
};

TEST_F(Binding, InitializeSubscribesAndRebuildsOnce) {
    ASSERT_EQ(host.initialize(map()), S_OK);
    EXPECT_EQ(rebuilds(), 1);
    EXPECT_TRUE(com::same_object(host.toc().map().get(), counted->unknown()));
}

TEST_F(Binding, AddedDeletedAndMovedLayersEachRebuildOnceInsideTheMapsCall) {
    ASSERT_EQ(host.initialize(map()), S_OK);
    auto lakes = feature_layer(L"Lakes");

    ASSERT_EQ(real->AddLayer(lakes.get()), S_OK);
    EXPECT_EQ(rebuilds(), 2);
    // Nothing was pumped: the tree changed inside AddLayer.
    EXPECT_EQ(outline(host.tree()), L"Parcels [root] bold expanded\n  Lakes [checked]\n  Roads [checked]\n  Rivers [checked]\n\n");

    ASSERT_EQ(real->MoveLayer(lakes.get(), 2), S_OK);
    EXPECT_EQ(rebuilds(), 3);
    EXPECT_EQ(outline(host.tree()), L"Parcels [root] bold expanded\n  Roads [checked]\n  Rivers [checked]\n  Lakes [checked]\n\n");

    ASSERT_EQ(real->DeleteLayer(lakes.get()), S_OK);
    EXPECT_EQ(rebuilds(), 4);
    EXPECT_EQ(outline(host.tree()), L"Parcels [root] bold expanded\n  Roads [checked]\n  Rivers [checked]\n\n");
}

TEST_F(Binding, OtherNotificationsAndChangesChangeNothing) {
    ASSERT_EQ(host.initialize(map()), S_OK);
    const std::wstring before = outline(host.tree());
    // A redraw of the view (ViewRefreshed) and a renamed layer or map are not rebuilt.
    ASSERT_EQ(real.as<IMapView>()->Refresh(), S_OK);
    com::ComPtr<ILayer> roads;
    ASSERT_EQ(real->get_Layer(0, roads.put()), S_OK);
    ASSERT_EQ(roads->put_Name(com::Bstr(L"Streets").get()), S_OK);
    EXPECT_EQ(rebuilds(), 1);
    EXPECT_EQ(outline(host.tree()), before);
}

TEST_F(Binding, ASecondInitializeMovesTheSubscriptionToTheNewMap) {
    ASSERT_EQ(host.initialize(map()), S_OK);
    auto other = make_map(L"Other", {feature_layer(L"X")});
    ASSERT_EQ(host.initialize(other.get()), S_OK);
    ASSERT_EQ(real->AddLayer(feature_layer(L"Lakes").get()), S_OK);
    EXPECT_EQ(rebuilds(), 1);
    EXPECT_EQ(outline(host.tree()), L"Other [root] bold expanded\n  X [checked]\n\n");
    ASSERT_EQ(other->AddLayer(feature_layer(L"Y").get()), S_OK);
    EXPECT_EQ(outline(host.tree()), L"Other [root] bold expanded\n  Y [checked]\n  X [checked]\n\n");
}

TEST_F(Binding, InitializeWithNothingEndsTheSubscription) {
    ASSERT_EQ(host.initialize(map()), S_OK);
    ASSERT_EQ(host.initialize(nullptr), S_OK);
    ASSERT_EQ(real->AddLayer(feature_layer(L"Lakes").get()), S_OK);
    EXPECT_EQ(rebuilds(), 1);
    EXPECT_TRUE(read_items(host.tree()).empty());
    EXPECT_FALSE(host.toc().map());
}

TEST_F(Binding, AMapWithoutViewEventsFailsInitializeBeforeAnyRebuild) {
    counted->hide_view_events();
    EXPECT_EQ(host.initialize(map()), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(rebuilds(), 0);
    // The map is kept all the same; a Reset shows it.
    EXPECT_TRUE(host.toc().map());
    EXPECT_EQ(host.reset(), S_OK);
    EXPECT_EQ(rebuilds(), 1);
}

TEST_F(Binding, SelectedLayerIsNothingBeforeAnyPress) {
    ASSERT_EQ(host.initialize(map()), S_OK);
    com::ComPtr<ILayer> layer;
    ASSERT_EQ(host.api()->get_SelectedLayer(layer.put()), S_OK);
    EXPECT_FALSE(layer);
}

// A control without a window (made by a script, or not activated yet) takes its map; the
// start-up of the window it gets later builds the tree.
TEST(WindowlessBinding, TheMapIsShownOnceTheControlHasAWindow) {
    auto toc = kelpy::Toc::create();
    auto map = make_map(L"Bay", {feature_layer(L"Roads")});
    IMap* argument = map.get();
    ASSERT_EQ(toc->Initialize(&argument), S_OK);
    EXPECT_EQ(toc->Reset(), E_UNEXPECTED);  // a rebuild asked for now needs the tree

    RECT bounds{0, 0, 200, 300};
    toc->CreateControlWindow(nullptr, bounds);
    toc->StartRunTime();
    EXPECT_EQ(outline(GetWindow(toc->hWnd(), GW_CHILD)), L"Bay [root] bold expanded\n  Roads [checked]\n\n");
    toc->DestroyControlWindow();
}

}  // namespace
