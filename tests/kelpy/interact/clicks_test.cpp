// Clicks that are no drags: a left release on a layer's check image toggles its visibility, a
// right release reports the item under it to the host.
#include "kelpy/interact/interact_fixture.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"

using namespace test;
using host::NativeItem;
using host::image_key;
using host::read_item;
using host::Button;

namespace {

std::wstring image_of(HWND tree, const kelpy::NodePtr& node) {
    NativeItem native = read_item(tree, node->handle());
    EXPECT_EQ(native.image, native.selected_image);
    return image_key(native.image);
}

TEST_F(Interaction, ACheckImageTogglesItsLayerAndRedrawsThatLayer) {
    host::click(at(L"Roads", TVHT_ONITEMICON));
    EXPECT_FALSE(visible(L"Roads"));
    EXPECT_EQ(image_of(tree(), item(L"Roads")), L"unchecked");
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
    // The press made Roads the selected layer: only its geography is redrawn.
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_EQ(refreshes[0].phase, DrawPhaseGeography);
    EXPECT_TRUE(com::same_object(refreshes[0].data.get(), layer(L"Roads").get()));

    host::click(at(L"Roads", TVHT_ONITEMICON));
    EXPECT_TRUE(visible(L"Roads"));
    EXPECT_EQ(image_of(tree(), item(L"Roads")), L"checked");

    // A group's check image toggles the group.
    host::click(at(L"Land use", TVHT_ONITEMICON));
    EXPECT_FALSE(visible(L"Land use"));
    EXPECT_EQ(image_of(tree(), item(L"Land use")), L"unchecked");
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 3u);
}

TEST_F(Interaction, ALabelOrALegendRowTogglesNothing) {
    host::click(at(L"Roads", TVHT_ONITEMLABEL));
    host::click(at(L"Minor", TVHT_ONITEMLABEL));
    host::click(at(L"Sample", TVHT_ONITEMICON));
    EXPECT_TRUE(visible(L"Roads"));
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 0u);
    EXPECT_TRUE(refreshes.empty());
}

TEST_F(Interaction, AHostThatCancelsTheRefreshStillSeesTheLayerToggled) {
    sink->cancelEvents = {OnBeforeRefreshMap};
    host::click(at(L"Photo", TVHT_ONITEMICON));
    EXPECT_FALSE(visible(L"Photo"));
    EXPECT_EQ(image_of(tree(), item(L"Photo")), L"unchecked");
    EXPECT_TRUE(refreshes.empty());
}

TEST_F(Interaction, ARightReleaseReportsTheItemTwiceAndEmptySpaceNever) {
    // As the release (a click), and once more after it.
    host::click(at(L"Major", TVHT_ONITEMLABEL), Button::Right);
    ASSERT_EQ(sink->count(OnContextMenu), 2u);
    for (const auto& e : sink->events) EXPECT_EQ(e.contextMenuType, LONG(::TOCNodeType::RendererItem));

    sink->events.clear();
    host::click(at(L"Land use", TVHT_ONITEMICON), Button::Right);
    ASSERT_EQ(sink->count(OnContextMenu), 2u);
    EXPECT_EQ(sink->events[0].contextMenuType, LONG(::TOCNodeType::GroupLayer));

    // Below the last item there is nothing to report.
    sink->events.clear();
    bind(make_map(L"Small", {feature_layer(L"One")}).get());
    POINT below{60, 300};
    ClientToScreen(tree(), &below);
    host::click(below, Button::Right);
    EXPECT_EQ(sink->count(OnContextMenu), 0u);
}

}  // namespace
