// The expanded-state memory follows what the user expands and collapses, across rebuilds; and
// RefreshTree lays the tree out again without losing the user's view.
#include "kelpy/interact/interact_fixture.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"

using namespace test;
using host::read_item;

namespace {

bool expanded(HWND tree, const kelpy::NodePtr& node) { return read_item(tree, node->handle()).expanded(); }

TEST_F(Interaction, WhatTheUserCollapsesStaysCollapsedAcrossRebuilds) {
    host::click(at(L"Roads", TVHT_ONITEMBUTTON));
    ASSERT_FALSE(expanded(tree(), item(L"Roads")));
    ASSERT_EQ(toc->Reset(), S_OK);
    EXPECT_FALSE(expanded(tree(), item(L"Roads")));
    EXPECT_TRUE(expanded(tree(), item(L"Soils")));

    host::click(at(L"Roads", TVHT_ONITEMBUTTON));
    ASSERT_EQ(toc->Reset(), S_OK);
    EXPECT_TRUE(expanded(tree(), item(L"Roads")));

    // While a rebuild runs, what the tree reports is not remembered.
    {
        kelpy::tree::TreeBuilder::Running running(toc->builder());
        host::click(at(L"Roads", TVHT_ONITEMBUTTON));
    }
    ASSERT_EQ(toc->Reset(), S_OK);
    EXPECT_TRUE(expanded(tree(), item(L"Roads")));
}

TEST_F(Interaction, LayersOfTheSameNameShareTheirState) {
    auto roads = [] {
        return rendered_feature_layer(L"Roads", GeometryPolyline, class_breaks_renderer(L"LANES", {{L"Any", line_symbol(0)}}));
    };
    bind(make_map(L"Twice", {roads(), roads()}).get());
    auto second = children_of(nodes(), nodes().Item(L"root"))[1];
    host::click(at(second, TVHT_ONITEMBUTTON));
    ASSERT_EQ(toc->Reset(), S_OK);
    for (const auto& node : children_of(nodes(), nodes().Item(L"root"))) EXPECT_FALSE(expanded(tree(), node));
}

TEST_F(Interaction, RefreshTreeKeepsTheUsersView) {
    host->resize(280, 200);
    host::click(at(L"Slope"));  // selected, and the tree scrolled down to it
    for (int i = 0; i < 2; ++i) SendMessageW(tree(), WM_VSCROLL, SB_LINEUP, 0);
    auto first = [&] { return SendMessageW(tree(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0); };
    const LRESULT firstBefore = first();
    const int position = GetScrollPos(tree(), SB_VERT);
    ASSERT_GT(position, 0);

    toc->interaction().RefreshTree();
    EXPECT_EQ(first(), firstBefore);
    EXPECT_EQ(GetScrollPos(tree(), SB_VERT), position);
    EXPECT_EQ(selected_text(), L"Slope");
    EXPECT_TRUE(expanded(tree(), nodes().Item(L"root")));
    EXPECT_TRUE(IsWindowVisible(tree()));

    nodes().Item(L"root")->Expanded(false);
    toc->interaction().RefreshTree();
    EXPECT_TRUE(expanded(tree(), nodes().Item(L"root")));
}

}  // namespace
