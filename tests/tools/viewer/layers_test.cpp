// The viewer's context menus on the control's items, asked for with the right button or the keys
// (Shift+F10), acting on that item's layer: Visible, Zoom to layer, Rename, Remove layer, and
// Change symbol… on a legend row; the View menu's full extent; the splitter between the panes; the
// item under the mouse in the status bar.
#include "viewer_fixture.h"
#include "com/bstr.h"
#include "commands.h"
#include "user_input.h"

using namespace test;

namespace {

std::vector<std::wstring> texts(const std::vector<ScriptedPrompts::MenuItem>& items) {
    std::vector<std::wstring> out;
    for (const auto& i : items) out.push_back(i.text);
    return out;
}

TEST_F(ViewerTest, LayerMenuActsOnTheLayerOfTheItemAskedFor) {
    open(sample);
    prompts.picks.push_back(L"Visible");
    host::click(at(L"Roads"), host::Button::Right);
    EXPECT_EQ(texts(prompts.last_menu), (std::vector<std::wstring>{L"Visible", L"Zoom to layer", L"Colour by field...", L"Rename (F2)", L"Remove layer"}));
    EXPECT_TRUE(prompts.last_menu[0].checked);
    EXPECT_FALSE(visible(L"Roads"));
    EXPECT_TRUE(viewer->Modified());

    // A member of a group layer leaves its group; the tree and the view follow.
    prompts.picks.push_back(L"Remove layer");
    host::click(at(L"Land use/Districts"), host::Button::Right);
    EXPECT_NE(order().find(L"Land use [Parks, Households]"), std::wstring::npos) << com::narrow(order());
    EXPECT_THROW(item(L"Districts"), std::runtime_error);
    EXPECT_TRUE(same(shown(), drawn()));

    // By the keys: the menu is the selected item's, not that of the layer last pressed with the mouse.
    host::click(at(L"Towns"));
    for (int i = 0; i < 12 && selected_text() != L"Survey sites"; ++i) host::press_key(VK_DOWN);
    ASSERT_EQ(selected_text(), L"Survey sites");
    prompts.picks.push_back(L"Remove layer");
    host::press_key(VK_F10, {VK_SHIFT});
    EXPECT_EQ(order().find(L"Survey sites"), std::wstring::npos) << com::narrow(order());
    EXPECT_EQ(order().rfind(L"Towns, Roads, ", 0), 0u) << com::narrow(order());
    EXPECT_EQ(status(viewer::StatusLayers), L"9 layers");
}

TEST_F(ViewerTest, ZoomToALayerAndBackAndChangeALegendRowsSymbol) {
    open(sample);
    const host::Pixels full = shown();
    prompts.picks.push_back(L"Zoom to layer");
    host::click(at(L"Survey sites"), host::Button::Right);
    const host::Pixels zoomed = shown();
    EXPECT_FALSE(same(zoomed, full));
    EXPECT_TRUE(same(zoomed, drawn()));
    EXPECT_TRUE(viewer->Modified());
    command(viewer::CmdZoomFull);
    EXPECT_TRUE(same(shown(), full));

    const DWORD orange = 0xFF8800;
    ASSERT_EQ(count(shown(), orange), 0u);
    selector->answer({.confirm = true, .color = RGB(0xFF, 0x88, 0x00), .size = 4});
    prompts.picks.push_back(L"Change symbol...");
    host::click(at(L"Roads/Highway"), host::Button::Right);
    EXPECT_EQ(selector->shown(), 1);
    EXPECT_GT(count(shown(), orange), 100u) << "the highway is drawn in orange";
    EXPECT_TRUE(same(shown(), drawn()));
}

// An action of the control that fails shows in the status bar: here a symbol confirmed for a
// legend row whose layer got another renderer while the selector was open (the map's change
// rebuilt the tree).
TEST_F(ViewerTest, AFailedActionShowsInTheStatusBar) {
    open(sample);
    const com::ComPtr<IMap>& map = viewer->Map();
    com::ComPtr<ILayer> roads, first;
    LONG count = 0;
    ASSERT_EQ(map->get_LayerCount(&count), S_OK);
    for (LONG i = 0; i < count; ++i) {
        com::ComPtr<ILayer> l;
        ASSERT_EQ(map->get_Layer(i, l.put()), S_OK);
        com::Bstr name;
        ASSERT_EQ(l->get_Name(name.put()), S_OK);
        if (name.view() == L"Roads") roads = l;
        if (i == 0) first = l;
    }
    ASSERT_TRUE(roads);
    selector->answer({.confirm = true, .while_open = [&] {
                          auto other = com::ComPtr<IFeatureRenderer>::create(CLSID_SimpleRenderer);
                          ASSERT_EQ(roads.as<IFeatureRendering>()->putref_Renderer(other.get()), S_OK);
                          ASSERT_EQ(map->MoveLayer(first.get(), 1), S_OK);
                      }});
    prompts.picks.push_back(L"Change symbol...");
    host::click(at(L"Roads/Highway"), host::Button::Right);
    host::pump_messages();
    const std::wstring shown = status(viewer::StatusDrag);
    EXPECT_EQ(shown.rfind(L"Symbol failed: ", 0), 0u) << com::narrow(shown);
    EXPECT_NE(shown.find(L"no longer draws with the renderer"), std::wstring::npos) << com::narrow(shown);
}

TEST_F(ViewerTest, RenameFromTheMenuAndTheItemUnderTheMouseInTheStatusBar) {
    open(sample);
    host::move_mouse(at(L"Roads"));
    host::pump_messages();
    EXPECT_EQ(status(viewer::StatusItem), L"Layer \u201CRoads\u201D (label)");
    prompts.picks.push_back(L"Rename (F2)");
    host::click(at(L"Roads"), host::Button::Right);
    host::type_text(L"Streets");
    host::press_key(VK_RETURN);
    EXPECT_NO_THROW(item(L"Streets"));
    EXPECT_TRUE(viewer->Modified());
    EXPECT_EQ(status(viewer::StatusSelected), L"Selected: Streets");
}

TEST_F(ViewerTest, SplitterBarMovesWithTheMouse) {
    RECT tree_before{}, map_before{}, tree_after{}, map_after{};
    GetWindowRect(viewer->tree(), &tree_before);
    GetWindowRect(viewer->map_window(), &map_before);
    const POINT bar{(tree_before.right + map_before.left) / 2, (map_before.top + map_before.bottom) / 2};
    host::drag(bar, {bar.x + 120, bar.y});
    GetWindowRect(viewer->tree(), &tree_after);
    GetWindowRect(viewer->map_window(), &map_after);
    EXPECT_EQ(tree_after.right - tree_after.left, tree_before.right - tree_before.left + 120);
    EXPECT_EQ(map_after.left, map_before.left + 120);
    EXPECT_EQ(map_after.right, map_before.right);
}

}  // namespace
