// The options of the second interface that change what drags, keys and clicks do, driven by a
// person's mouse and keyboard: group layers inside groups shown at every depth with drops into,
// out of and between them (and the refused drop of a group into itself); drops exactly at the
// insert mark, side by side with the same drops without it; mixed check images that follow the
// layers' visibility, also when the host changes it. After every step the map holds every layer
// exactly once and the tree shows the map.
#include "kelpy/interact/interact_fixture.h"
#include <tuple>
#include "com/vbnum.h"
#include "kelpy/model/items.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"

using namespace test;
using host::Button;

namespace {

// A drag as a person makes it: a press on the layer's label, a first small move there (the
// drag starts with the item under the press), then the release at `to`.
void drag_to(POINT from, POINT to) {
    host::move_mouse(from);
    host::press(Button::Left);
    host::move_mouse({from.x + 1, from.y});
    host::move_mouse(to);
    host::release(Button::Left);
}

// The layer items the tree window shows, each with its depth: "Outer@1, O1@2, ...".
std::wstring shown_layers(HWND tree) {
    std::wstring text;
    for (const host::NativeItem& item : host::read_items(tree)) {
        if (!host::stands_for_layer(item)) continue;
        if (!text.empty()) text += L", ";
        text += item.text + L"@" + std::to_wstring(item.depth);
    }
    return text;
}

// The fixture's control, switched to the options asked for, bound to a map of groups three deep:
//
//   Top                                  (a layer)
//   Outer: O1, Middle: [Inner: [I1 (classes Low, High), I2], M1]
//   Bottom
class Nested : public Interaction {
protected:
    void use_nested_map(bool nested, bool mixed) {
        ASSERT_EQ(toc->put_ShowNestedGroups(com::vb(nested)), S_OK);
        ASSERT_EQ(toc->put_MixedGroupChecks(com::vb(mixed)), S_OK);
        auto l = [](const wchar_t* name) { return feature_layer(name); };
        auto i1 = rendered_feature_layer(L"I1", GeometryPolyline,
                                         class_breaks_renderer(L"V", {{L"Low", line_symbol(RGB(0, 0, 0))},
                                                                      {L"High", line_symbol(RGB(200, 0, 0), 2)}}));
        auto i2 = l(L"I2"), m1 = l(L"M1"), o1 = l(L"O1");
        auto inner = group_layer(L"Inner", {i1, i2});
        auto middle = group_layer(L"Middle", {inner, m1});
        auto outer = group_layer(L"Outer", {o1, middle});
        layers = {l(L"Top"), outer, l(L"Bottom"), o1, middle, inner, i1, i2, m1};
        map = make_map(L"Nested", {layers[0], outer, layers[2]});
        bind(map.get());
        host::pump_messages();
        sink->events.clear();
    }
    // After a step: every layer once, nothing of a drag left, the tree equal to the map.
    void expect_step() {
        expect_sound();
        EXPECT_EQ(shown_layers(tree()), depths());
    }
    std::wstring image(std::wstring_view text) {
        return host::image_key(host::read_item(tree(), item(text)->handle()).image);
    }
    void drag(std::wstring_view layer, std::wstring_view target) { drag_to(at(layer), at(target)); }
    void host_shows(std::wstring_view name, bool visible) {
        com::check(layer(name)->put_Visible(com::vb(visible)));
        com::check(map.as<IMapView>()->Refresh());
    }
};

TEST_F(Nested, GroupsShowAtEveryDepthWithTheirMembersLegendsAndMemory) {
    use_nested_map(true, false);
    EXPECT_EQ(shown_layers(tree()), L"Top@1, Outer@1, O1@2, Middle@2, Inner@3, I1@4, I2@4, M1@3, Bottom@1");
    EXPECT_EQ(kelpy::RecordOf(item(L"Inner"))->TOCNodeType, TOCNodeType::GroupLayer);
    EXPECT_TRUE(com::same_object(kelpy::RecordOf(item(L"Inner"))->GroupLayer.get(), layer(L"Middle").get()));
    EXPECT_EQ(item(L"High")->Parent()->Text(), L"I1");  // the legend of a member four deep

    // A person collapses a nested group; a rebuild keeps it so.
    ASSERT_TRUE(item(L"Inner")->Expanded());
    host::click(at(L"Inner", TVHT_ONITEMBUTTON));
    ASSERT_FALSE(item_named(nodes(), L"Inner")->Expanded());
    ASSERT_EQ(toc->Reset(), S_OK);
    EXPECT_FALSE(item_named(nodes(), L"Inner")->Expanded());
    EXPECT_TRUE(item_named(nodes(), L"Middle")->Expanded());

    // Without the option, a group in a group is a plain member, as before.
    ASSERT_EQ(toc->put_ShowNestedGroups(VARIANT_FALSE), S_OK);
    EXPECT_EQ(shown_layers(tree()), L"Top@1, Outer@1, O1@2, Middle@2, Bottom@1");
}

TEST_F(Nested, DropsGoIntoOutOfAndBetweenNestedGroupsAndNeverIntoThemselves) {
    use_nested_map(true, false);
    // Onto a member of a nested group: into that group, at its end.
    drag(L"Top", L"I2");
    EXPECT_EQ(order(), L"Outer [O1, Middle [Inner [I1, I2, Top], M1]], Bottom");
    EXPECT_EQ(selected_text(), L"Top");
    expect_step();
    // Between nested groups.
    drag(L"M1", L"I1");
    EXPECT_EQ(order(), L"Outer [O1, Middle [Inner [I1, I2, Top, M1]]], Bottom");
    expect_step();
    // Onto a nested group's own label: into the group that holds it.
    drag(L"O1", L"Inner");
    EXPECT_EQ(order(), L"Outer [Middle [Inner [I1, I2, Top, M1], O1]], Bottom");
    expect_step();
    // Out to the top level, at the target's place.
    drag(L"Top", L"Bottom");
    EXPECT_EQ(order(), L"Outer [Middle [Inner [I1, I2, M1], O1]], Bottom, Top");
    expect_step();

    // A group into itself or a group below it: refused, nothing moves.
    const std::wstring before = order();
    drag(L"Outer", L"I2");
    drag(L"Middle", L"Inner");  // the label of its own member: into Middle itself
    drag(L"Middle", L"O1");     // onto its own member
    EXPECT_EQ(order(), before);
    expect_step();
}

TEST_F(Nested, AltRightAndAltLeftMoveOneLevelAtAnyDepth) {
    use_nested_map(true, false);
    host::click(at(L"M1"));
    host::press_key(VK_RIGHT, {VK_MENU});  // into the group just above it, three deep
    EXPECT_EQ(order(), L"Top, Outer [O1, Middle [Inner [I1, I2, M1]]], Bottom");
    EXPECT_EQ(selected_text(), L"M1");
    expect_step();
    host::press_key(VK_LEFT, {VK_MENU});  // one level out, right after the group it left
    EXPECT_EQ(order(), L"Top, Outer [O1, Middle [Inner [I1, I2], M1]], Bottom");
    expect_step();
    host::click(at(L"Middle"));
    host::press_key(VK_LEFT, {VK_MENU});
    EXPECT_EQ(order(), L"Top, Outer [O1], Middle [Inner [I1, I2], M1], Bottom");
    expect_step();
}

TEST_F(Nested, MixedChecksFollowTheLayersAndAClickShowsTheWholeGroup) {
    use_nested_map(true, true);
    EXPECT_EQ(image(L"Outer"), L"checked");
    // The host hides a member three deep and redraws the map: every group above it is mixed.
    host_shows(L"I2", false);
    for (const wchar_t* group : {L"Outer", L"Middle", L"Inner"}) EXPECT_EQ(image(group), L"mixed") << group;
    EXPECT_EQ(image(L"I2"), L"unchecked");

    // A click on a mixed group shows it and everything below it.
    host::click(at(L"Outer", TVHT_ONITEMICON));
    EXPECT_TRUE(visible(L"I2"));
    for (const wchar_t* group : {L"Outer", L"Middle", L"Inner", L"I2"}) EXPECT_EQ(image(group), L"checked") << group;
    // On a checked group: the group alone goes.
    host::click(at(L"Middle", TVHT_ONITEMICON));
    EXPECT_FALSE(visible(L"Middle"));
    EXPECT_TRUE(visible(L"Inner"));
    EXPECT_EQ(image(L"Middle"), L"unchecked");
    EXPECT_EQ(image(L"Outer"), L"mixed");
    // Space on a selected group that shows unchecked shows it whole again.
    host::click(at(L"Outer"));
    host::click(at(L"Middle"));
    host_shows(L"I1", false);
    host::press_key(VK_SPACE);
    EXPECT_TRUE(visible(L"Middle"));
    EXPECT_TRUE(visible(L"I1"));
    EXPECT_EQ(image(L"Outer"), L"checked");
    expect_step();

    // Without the option a group shows only its own visibility, as before.
    host_shows(L"I1", false);
    ASSERT_EQ(toc->put_MixedGroupChecks(VARIANT_FALSE), S_OK);
    EXPECT_EQ(image(L"Outer"), L"checked");
}

// ---- DropAtMark: the same drops with the option off (the layer takes the target's place, or
// goes to a group's end) and on (exactly where the mark shows), on the fixture's map:
//
//   Towns, Roads (Minor, Major, Highway), Land use [Parks, Water], Population, Elevation, Soils,
//   Slope, Photo

enum class Half { Upper, Lower };
enum class Group { Expanded, Collapsed };
struct MarkCase {
    const wchar_t* dragged;
    const wchar_t* target;
    Half half;
    Group land_use;
    const wchar_t* without;  // the map's order after the drop with DropAtMark off
    const wchar_t* with;     // and on
};

const MarkCase kMarkCases[] = {
    {L"Population", L"Towns", Half::Upper, Group::Expanded,
     L"Population, Towns, Roads, Land use [Parks, Water], Elevation, Soils, Slope, Photo",
     L"Population, Towns, Roads, Land use [Parks, Water], Elevation, Soils, Slope, Photo"},
    {L"Population", L"Towns", Half::Lower, Group::Expanded,
     L"Population, Towns, Roads, Land use [Parks, Water], Elevation, Soils, Slope, Photo",
     L"Towns, Population, Roads, Land use [Parks, Water], Elevation, Soils, Slope, Photo"},
    {L"Towns", L"Water", Half::Upper, Group::Expanded,
     L"Roads, Land use [Parks, Water, Towns], Population, Elevation, Soils, Slope, Photo",
     L"Roads, Land use [Parks, Towns, Water], Population, Elevation, Soils, Slope, Photo"},
    {L"Photo", L"Parks", Half::Lower, Group::Expanded,
     L"Towns, Roads, Land use [Parks, Water, Photo], Population, Elevation, Soils, Slope",
     L"Towns, Roads, Land use [Parks, Photo, Water], Population, Elevation, Soils, Slope"},
    {L"Photo", L"Minor", Half::Upper, Group::Expanded,  // a legend row: after its layer
     L"Towns, Photo, Roads, Land use [Parks, Water], Population, Elevation, Soils, Slope",
     L"Towns, Roads, Photo, Land use [Parks, Water], Population, Elevation, Soils, Slope"},
    {L"Photo", L"Land use", Half::Upper, Group::Expanded,
     L"Towns, Roads, Photo, Land use [Parks, Water], Population, Elevation, Soils, Slope",
     L"Towns, Roads, Photo, Land use [Parks, Water], Population, Elevation, Soils, Slope"},
    {L"Photo", L"Land use", Half::Lower, Group::Expanded,
     L"Towns, Roads, Photo, Land use [Parks, Water], Population, Elevation, Soils, Slope",
     L"Towns, Roads, Land use [Photo, Parks, Water], Population, Elevation, Soils, Slope"},
    {L"Photo", L"Land use", Half::Lower, Group::Collapsed,
     L"Towns, Roads, Photo, Land use [Parks, Water], Population, Elevation, Soils, Slope",
     L"Towns, Roads, Land use [Parks, Water], Photo, Population, Elevation, Soils, Slope"},
    {L"Photo", L"Sample", Half::Lower, Group::Expanded,  // the root: the top of the map
     L"Photo, Towns, Roads, Land use [Parks, Water], Population, Elevation, Soils, Slope",
     L"Photo, Towns, Roads, Land use [Parks, Water], Population, Elevation, Soils, Slope"},
};

class AtMark : public Interaction, public ::testing::WithParamInterface<std::tuple<MarkCase, bool>> {
protected:
    // A point on the upper or the lower quarter of the item's row, on its label.
    POINT on_half(std::wstring_view text, Half half) {
        kelpy::NodePtr node = item(text);
        POINT p = at(node, TVHT_ONITEMLABEL);
        RECT row = host::item_rect(tree(), node->handle(), false);
        MapWindowPoints(tree(), nullptr, reinterpret_cast<POINT*>(&row), 2);
        const LONG quarter = (row.bottom - row.top) / 4;
        p.y = half == Half::Upper ? row.top + quarter : row.bottom - 1 - quarter;
        return p;
    }
};

TEST_P(AtMark, DropsLandWhereTheMarkShowsOrAsBeforeWithoutIt) {
    const auto& [c, on] = GetParam();
    ASSERT_EQ(toc->put_DropAtMark(com::vb(on)), S_OK);
    item(L"Parks");  // Land use expanded
    if (c.land_use == Group::Collapsed) item(L"Land use")->Expanded(false);
    drag_to(at(c.dragged), on_half(c.target, c.half));
    EXPECT_EQ(order(), on ? c.with : c.without);
    EXPECT_EQ(selected_text(), c.dragged);
    expect_sound();
}

INSTANTIATE_TEST_SUITE_P(Cases, AtMark, ::testing::Combine(::testing::ValuesIn(kMarkCases), ::testing::Bool()));

TEST_F(Interaction, DropAtMarkGoesToTheBottomOverTheHolderAndRefusesAGroupBelowItself) {
    ASSERT_EQ(toc->put_DropAtMark(VARIANT_TRUE), S_OK);
    drag_to(at(L"Towns"), at(nodes().Item(L"holder"), TVHT_ONITEMRIGHT));
    EXPECT_EQ(order(), L"Roads, Land use [Parks, Water], Population, Elevation, Soils, Slope, Photo, Towns");
    expect_sound();
    drag_to(at(L"Land use"), at(L"Water"));  // into itself: no mark, nothing moves
    EXPECT_EQ(order(), L"Roads, Land use [Parks, Water], Population, Elevation, Soils, Slope, Photo, Towns");
    expect_sound();
}

}  // namespace
