// The control's keys, on the selected item: Space toggles a layer, Enter chooses a legend row's
// symbol, Alt with the arrows moves layers up and down and into and out of the group layer,
// Shift+F10 and the context-menu key report the item to the host.
#include "kelpy/interact/interact_fixture.h"

using namespace test;

namespace {

class Keys : public Interaction {
protected:
    // Selects an item as a person does (a click on its label), which gives the tree the focus.
    void select(std::wstring_view text) {
        host::click(at(text));
        ASSERT_EQ(selected_text(), std::wstring(text));
        sink->events.clear();
        refreshes.clear();
    }
};

TEST_F(Keys, SpaceTogglesTheSelectedLayerAndEnterChoosesARowsSymbol) {
    select(L"Roads");
    host::press_key(VK_SPACE);
    EXPECT_FALSE(visible(L"Roads"));
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_TRUE(com::same_object(refreshes[0].data.get(), layer(L"Roads").get()));

    host::press_key(VK_RETURN);  // on a layer: nothing to choose
    EXPECT_EQ(selector->shown(), 0);
    select(L"Major");
    host::press_key(VK_SPACE);  // on a legend row: nothing to toggle
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 0u);
    selector->answer({.confirm = true, .color = RGB(255, 136, 0)});
    host::press_key(VK_RETURN);
    EXPECT_EQ(selector->shown(), 1);
    EXPECT_EQ(sink->count(OnSymbolSelector), 1u);
}

TEST_F(Keys, AltArrowsMoveTheSelectedLayerAsADropWould) {
    select(L"Population");
    host::press_key(VK_UP, {VK_MENU});
    EXPECT_EQ(order(), L"Towns, Roads, Population, Land use [Parks, Water], Elevation, Soils, Slope, Photo");
    EXPECT_EQ(selected_text(), L"Population");
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
    host::press_key(VK_DOWN, {VK_MENU});
    host::press_key(VK_DOWN, {VK_MENU});
    EXPECT_EQ(order(), L"Towns, Roads, Land use [Parks, Water], Elevation, Population, Soils, Slope, Photo");
    expect_sound();

    // Into the group layer just above, and out again to the place above the group; each move
    // makes several model calls that notify, and rebuilds the tree once.
    select(L"Population");
    host::press_key(VK_UP, {VK_MENU});
    unsigned long clears = nodes().clears();
    host::press_key(VK_RIGHT, {VK_MENU});
    EXPECT_EQ(order(), L"Towns, Roads, Land use [Parks, Water, Population], Elevation, Soils, Slope, Photo");
    EXPECT_EQ(selected_text(), L"Population");
    EXPECT_EQ(nodes().clears(), clears + 1);
    select(L"Parks");
    clears = nodes().clears();
    host::press_key(VK_LEFT, {VK_MENU});
    EXPECT_EQ(order(), L"Towns, Roads, Parks, Land use [Water, Population], Elevation, Soils, Slope, Photo");
    EXPECT_EQ(selected_text(), L"Parks");
    EXPECT_EQ(nodes().clears(), clears + 1);

    // Nothing to move: the top layer up, a layer with no group layer above it to the right.
    select(L"Towns");
    host::press_key(VK_UP, {VK_MENU});
    host::press_key(VK_RIGHT, {VK_MENU});
    EXPECT_EQ(order(), L"Towns, Roads, Parks, Land use [Water, Population], Elevation, Soils, Slope, Photo");
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 0u);
    expect_sound();
}

TEST_F(Keys, ShiftF10AndTheContextMenuKeyReportTheSelectedItem) {
    select(L"Clay");
    host::press_key(VK_F10, {VK_SHIFT});
    host::press_key(VK_APPS);
    ASSERT_EQ(sink->count(OnContextMenu), 2u);
    for (const auto& e : sink->events) EXPECT_EQ(e.contextMenuType, LONG(::TOCNodeType::RendererItem));
    // The host's menu acts on the selected layer: the item's, as after a right click.
    com::ComPtr<ILayer> selected;
    ASSERT_EQ(toc->get_SelectedLayer(selected.put()), S_OK);
    EXPECT_TRUE(com::same_object(selected.get(), layer(L"Soils").get()));
}

}  // namespace
