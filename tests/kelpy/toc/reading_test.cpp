// Reading the model of the table of contents from maps of the map model, without a window: its
// rows as the rebuild shows them, the expanded-state memory by text, and the rows' identities.
#include <gtest/gtest.h>
#include <string>
#include <unordered_set>
#include "com/bstr.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/toc/model_fixture.h"

using namespace test;
using kelpy::toc::Row;
using kelpy::toc::Toc;

namespace {

class Reading : public ::testing::Test, protected ModelSources {
protected:
    Toc toc;

    void read(const com::ComPtr<IMap>& map) { ModelSources::read(map, toc); }

    // One line per row, indented by depth: text, image, bold, expanded (for a row with
    // children or remembered expanded), the legend row's type, a height above one row.
    std::wstring outline() const {
        std::wstring out;
        std::vector<int> depth(toc.size());
        for (size_t i = 0; i < toc.size(); ++i) {
            const Row& row = toc[i];
            depth[i] = row.parent < 0 ? 0 : depth[size_t(row.parent)] + 1;
            out += std::wstring(size_t(depth[i]) * 2, L' ') + row.text;
            if (*row.image()) out += L" [" + std::wstring(row.image()) + L"]";
            if (row.bold) out += L" bold";
            if (row.expanded) out += L" expanded";
            switch (row.id.type) {
            case TOCNodeType::RendererName: out += L" heading"; break;
            case TOCNodeType::LayerSymbol: out += L" symbol"; break;
            case TOCNodeType::RendererItem: out += L" class"; break;
            default: break;
            }
            if (row.rows != 1) out += L" rows=" + std::to_wstring(row.rows);
            out += L"\n";
        }
        return out;
    }
};

TEST_F(Reading, RowsFollowTheMapWithGroupsAndTheLegendOfEveryRendererKind) {
    auto fill = solid_fill(0x0000FF);
    auto parcels = rendered_feature_layer(L"Parcels", GeometryPolygon,
                                          class_breaks_renderer(L"AREA", {{L"small", fill}, {L"large", fill}}));
    auto roads = rendered_feature_layer(L"Roads", GeometryPolyline,
                                        unique_value_renderer(L"KIND", {{L"1", L"Main", line_symbol(0)},
                                                                        {L"2", L"Lane", line_symbol(0)}}));
    auto wells = rendered_feature_layer(L"Wells", GeometryPoint, simple_renderer(marker_symbol(0)));
    auto farms = rendered_feature_layer(L"Farms", GeometryPolygon, pie_chart_renderer(pie_symbol({0xFF, 0xFF00})));
    auto photo = rendered_raster_layer(L"Photo", rgb_renderer());
    auto height = rendered_raster_layer(L"Height", stretch_renderer(color_ramp(0, 0xFFFFFF)));
    auto soil = rendered_raster_layer(L"Soil", raster_unique_renderer(L"TYPE", {{{L"3", L"Clay", fill}}}));
    auto slope = rendered_raster_layer(L"Slope", raster_classify_renderer(L"DEG", {{L"flat", fill}}));
    auto inner = group_layer(L"Inner", {wells});
    auto hidden = feature_layer(L"Hidden", false);
    read(make_map(L"World", {group_layer(L"Base", {parcels, inner, hidden}), roads, farms, photo, height, soil, slope,
                             make_layer(LayerKind::Plain, L"Broken", true, false)}));

    EXPECT_EQ(outline(), L"World [root] bold expanded\n"
                         L"  Base [checked] expanded\n"
                         L"    Parcels [checked] expanded\n"
                         L"      AREA heading\n"
                         L"      small class rows=2\n"
                         L"      large class rows=2\n"
                         L"    Inner [checked] expanded\n"  // a group inside a group: a layer row
                         L"    Hidden [unchecked] expanded\n"
                         L"  Roads [checked] expanded\n"
                         L"    KIND heading\n"
                         L"    Main class rows=2\n"
                         L"    Lane class rows=2\n"
                         L"  Farms [checked] expanded\n"
                         L"     class rows=2\n"
                         L"  Photo [checked] expanded\n"
                         L"    RGB Composite heading\n"
                         L"    Red:    Band_1 class rows=2\n"
                         L"    Green: Band_2 class rows=2\n"
                         L"    Blue:   Band_3 class rows=2\n"
                         L"  Height [checked] expanded\n"
                         L"     class rows=2\n"
                         L"  Soil [checked] expanded\n"
                         L"    TYPE heading\n"
                         L"    Clay class rows=2\n"
                         L"  Slope [checked] expanded\n"
                         L"    DEG heading\n"
                         L"    flat class rows=2\n"
                         L"  Broken [disconnected] expanded\n"
                         L"\n");

    // Classes by their break, value or value text.
    using kelpy::toc::DigestOf;
    for (auto [row, key] : {std::pair{4, kelpy::toc::ClassKey{10.0}}, {5, 20.0}, {10, std::wstring(L"1")},
                            {11, std::wstring(L"2")}, {23, std::wstring(L"Clay")}, {26, 0.0}, {3, {}}})
        EXPECT_EQ(toc[size_t(row)].id.key, DigestOf(key)) << toc[size_t(row)].text;
    EXPECT_NE(DigestOf(std::wstring(L"1")), DigestOf(std::wstring(L"2")));
    // Keys as the tree knows the items; records carry their layer, group and measures.
    EXPECT_EQ(toc.KeyOf(0), L"root");
    EXPECT_EQ(toc.KeyOf(1), L"gl0");
    EXPECT_EQ(toc.KeyOf(toc.size() - 1), L"holder");
    EXPECT_EQ(toc[toc.size() - 1].id.type, TOCNodeType::Holder);
    EXPECT_EQ(toc.KeyOf(2), L"l" + std::to_wstring(toc[2].number));
    EXPECT_EQ(toc.KeyOf(4), L"");
    EXPECT_TRUE(com::same_object(toc[2].record->GroupLayer.get(), toc[1].record->Layer.get()));
    EXPECT_EQ(toc[4].record->ItemHeight, 32);
    EXPECT_EQ(toc[4].record->SymbolWidth, 20);
    EXPECT_EQ(toc[4].record->Index, 0);
    EXPECT_EQ(toc[5].record->Index, 1);
    EXPECT_EQ(toc[1].children, 3u);
    for (const Row& row : toc.rows()) EXPECT_TRUE(row.record) << row.text;

    // With nested groups shown, the inner group is a group row of its own.
    options.showNestedGroups = true;
    read(make_map(L"World", {group_layer(L"Base", {inner})}));
    EXPECT_EQ(outline(), L"World [root] bold expanded\n"
                         L"  Base [checked] expanded\n"
                         L"    Inner [checked] expanded\n"
                         L"      Wells [checked] expanded\n"
                         L"         symbol rows=2\n"
                         L"\n");
    EXPECT_EQ(toc.KeyOf(2), L"gl0.0");
    EXPECT_EQ(toc[2].id.type, TOCNodeType::GroupLayer);
}

TEST_F(Reading, ExpandedStatesComeFromTheMemoryByTextAndItsSnapshotHoldsRowsWithChildren) {
    memory.Redim(2);
    memory.Set(0, L"Base", false);
    memory.Set(1, L"Lakes", false);
    memory.Set(2, L"World", false);  // the root is expanded whatever the memory says
    auto lakes = rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(solid_fill(0xFF0000)));
    read(make_map(L"World", {group_layer(L"Base", {feature_layer(L"Rivers")}), lakes, group_layer(L"Empty", {})}));
    EXPECT_EQ(outline(), L"World [root] bold expanded\n"
                         L"  Base [checked]\n"
                         L"    Rivers [checked] expanded\n"
                         L"  Lakes [checked]\n"
                         L"     symbol rows=2\n"
                         L"  Empty [checked] expanded\n"
                         L"\n");
    const std::vector<kelpy::NodeState> snapshot = toc.Snapshot();
    ASSERT_EQ(snapshot.size(), 3u);
    EXPECT_EQ(snapshot[0].Text, L"World");
    EXPECT_TRUE(snapshot[0].Expanded);
    EXPECT_EQ(snapshot[1].Text, L"Base");
    EXPECT_FALSE(snapshot[1].Expanded);
    EXPECT_EQ(snapshot[2].Text, L"Lakes");

    // Without a memory the first group row is read without its record, and the reading fails;
    // the root is not expanded then.
    kelpy::NodeStates none;
    EXPECT_ANY_THROW(kelpy::toc::Read(make_map(L"World", {group_layer(L"Base", {})}),
                                      {options, none, measurer, &kelpy::tree::AddLegend}, toc));
    ASSERT_EQ(toc.size(), 2u);
    EXPECT_FALSE(toc[0].expanded);
    EXPECT_FALSE(toc[1].record);
}

TEST_F(Reading, IdentitiesAreTheLayersPlacesAndClassKeysAndHoldFromOneReadingToTheNext) {
    auto unique = unique_value_renderer(L"KIND", {{L"1", L"Main", line_symbol(0)}, {L"2", L"Lane", line_symbol(0)}});
    auto roads = rendered_feature_layer(L"Roads", GeometryPolyline, unique);
    auto twice = rendered_raster_layer(L"Twice", rgb_renderer());
    auto map = make_map(L"World", {twice, roads, group_layer(L"Base", {twice})});
    read(map);

    // Every identity is one row's.
    std::unordered_set<kelpy::toc::RowId, kelpy::toc::RowIdHash> ids;
    for (const Row& row : toc.rows()) EXPECT_TRUE(ids.insert(row.id).second) << row.text;
    // A layer the map shows twice: the same identity, two places, and so two legends.
    const kelpy::toc::RowId first = toc[1].id;
    ASSERT_EQ(toc[11].text, L"Twice");
    EXPECT_EQ(first.layer.get(), toc[11].id.layer.get());
    EXPECT_EQ(first.place, 0u);
    EXPECT_EQ(toc[11].id.place, 1u);
    EXPECT_EQ(toc[12].id.place, 1u);
    // Rows that name no class: their place among their legend's rows of the same type.
    EXPECT_EQ(toc[3].text, L"Red:    Band_1");
    EXPECT_EQ(toc[5].id.key_place, 2u);
    // Classes: their layer's identity and their value.
    const kelpy::toc::RowId lane = toc[9].id;
    ASSERT_EQ(toc[9].text, L"Lane");
    EXPECT_EQ(lane.layer.get(), toc[6].id.layer.get());
    EXPECT_EQ(lane.key, kelpy::toc::DigestOf(std::wstring(L"2")));

    // A class removed before another: the other keeps its identity, not its position.
    com::check(unique.as<IUniqueValueRenderer>()->RemoveValue(com::Bstr(L"1").get()));
    read(map);
    ASSERT_EQ(toc[8].text, L"Lane");
    EXPECT_EQ(toc[8].id, lane);
    EXPECT_EQ(toc[1].id, first);
}

}  // namespace
