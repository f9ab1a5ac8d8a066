// Legends of feature layers: one swatch for a simple renderer, a heading and a row per class for
// class breaks and unique values, one row for a pie chart, nothing for other renderers.
#include "kelpy/tree/fake_renderers.h"
#include "kelpy/tree/legend_fixture.h"
#include "kelpy/model/items.h"

using namespace test;

namespace {

com::ComPtr<IColor> fill_color(ISymbol* symbol) {
    com::ComPtr<IColor> c;
    com::check(com::ComPtr<ISymbol>(symbol).as<IFillSymbol>()->get_Color(c.put()));
    return c;
}

LONG rgb_of(ISymbol* symbol) {
    LONG v = 0;
    com::check(fill_color(symbol)->get_RGB(&v));
    return v;
}

// The fields every row of a feature legend shares.
void expect_feature_row(const com::ComPtr<kelpy::TocNode>& r, const kelpy::NodePtr& item, ILayer* layer,
                        LONG shapeType) {
    EXPECT_EQ(r->Handle, reinterpret_cast<LONG_PTR>(item->handle()));
    EXPECT_TRUE(com::same_object(r->Layer.get(), layer));
    EXPECT_EQ(r->LayerType, LayerType::FeatureLayer);
    EXPECT_EQ(r->RasterRendererType, RasterRendererType::RGB);
    EXPECT_EQ(r->Index2, 0);
    EXPECT_EQ(r->ShapeType, shapeType);
    EXPECT_FALSE(r->GroupLayer);
    EXPECT_TRUE(item->Key().empty());
    EXPECT_TRUE(item->Image().empty());
}

void expect_heading(const kelpy::NodePtr& item, std::wstring_view field, ILayer* layer) {
    auto r = kelpy::RecordOf(item);
    EXPECT_EQ(item->Text(), field);
    EXPECT_EQ(r->TOCNodeType, TOCNodeType::RendererName);
    EXPECT_FALSE(r->Symbol);
    EXPECT_EQ(r->ShapeType, 0);
    EXPECT_EQ(r->FeatureRendererType, FeatureRendererType::Simple);
    EXPECT_EQ(r->Index, 0);
    EXPECT_EQ(r->ItemHeight, 0);
    EXPECT_EQ(r->SymbolWidth, 0);
    EXPECT_TRUE(com::same_object(r->Layer.get(), layer));
    EXPECT_EQ(r->Handle, reinterpret_cast<LONG_PTR>(item->handle()));
}

}  // namespace

TEST_F(Legends, SimpleRendererGivesOneUntitledSwatchWithTheRenderersOwnSymbol) {
    auto symbol = solid_fill(RGB(200, 0, 0));
    auto layer = rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(symbol));
    ASSERT_EQ(show({layer}), S_OK);

    EXPECT_EQ(record(layer_item(L"Lakes"))->ShapeType, GeometryPolygon);
    auto legend = rows(L"Lakes");
    ASSERT_EQ(legend.size(), 1u);
    auto r = record(legend[0]);
    EXPECT_EQ(legend[0]->Text(), L"");
    EXPECT_EQ(r->TOCNodeType, TOCNodeType::LayerSymbol);
    EXPECT_EQ(r->Index, 0);
    EXPECT_EQ(r->FeatureRendererType, FeatureRendererType::Simple);
    EXPECT_EQ(r->Symbol.get(), symbol.get());
    expect_feature_row(r, legend[0], layer.get(), GeometryPolygon);
    // Measured when added.
    EXPECT_GT(r->SymbolWidth, 0);
    EXPECT_GT(r->SymbolHeight, 0);
    EXPECT_EQ(r->ItemHeight % 16, 0);
    EXPECT_GE(r->ItemHeight, 16);
}

TEST_F(Legends, ClassBreaksGiveTheFieldThenOneRowPerClassWithCopiesOfTheClassSymbols) {
    std::vector<ClassSpec> classes{{L"Few", solid_fill(RGB(255, 255, 200))},
                                   {L"Some", solid_fill(RGB(255, 160, 0))},
                                   {L"Many", solid_fill(RGB(160, 0, 0))}};
    auto layer = rendered_feature_layer(L"Counties", GeometryPolygon, class_breaks_renderer(L"POP", classes));
    ASSERT_EQ(show({layer}), S_OK);

    auto legend = rows(L"Counties");
    ASSERT_EQ(legend.size(), 4u);
    expect_heading(legend[0], L"POP", layer.get());
    for (int i = 0; i < 3; ++i) {
        const kelpy::NodePtr& item = legend[size_t(i) + 1];
        auto r = record(item);
        SCOPED_TRACE(i);
        EXPECT_EQ(item->Text(), classes[size_t(i)].label);
        EXPECT_EQ(r->TOCNodeType, TOCNodeType::RendererItem);
        EXPECT_EQ(r->Index, i);
        EXPECT_EQ(r->FeatureRendererType, FeatureRendererType::ClassBreaks);
        expect_feature_row(r, item, layer.get(), GeometryPolygon);
        // A copy: another object that looks the same.
        ASSERT_TRUE(r->Symbol);
        EXPECT_FALSE(com::same_object(r->Symbol.get(), classes[size_t(i)].symbol.get()));
        EXPECT_EQ(rgb_of(r->Symbol.get()), rgb_of(classes[size_t(i)].symbol.get()));
        EXPECT_GT(r->SymbolWidth, 0);
    }
}

TEST_F(Legends, UniqueValuesAreLabelledByTheirLabelsAndKeepTheRenderersOwnSymbols) {
    std::vector<ValueSpec> values{{L"MWY", L"Motorway", line_symbol(RGB(200, 0, 0), 3)},
                                  {L"LOC", L"Local road", line_symbol(RGB(90, 90, 90), 1)}};
    auto layer = rendered_feature_layer(L"Roads", GeometryPolyline, unique_value_renderer(L"CLASS", values));
    ASSERT_EQ(show({layer}), S_OK);

    EXPECT_EQ(record(layer_item(L"Roads"))->ShapeType, GeometryPolyline);
    auto legend = rows(L"Roads");
    ASSERT_EQ(legend.size(), 3u);
    expect_heading(legend[0], L"CLASS", layer.get());
    for (int i = 0; i < 2; ++i) {
        const kelpy::NodePtr& item = legend[size_t(i) + 1];
        auto r = record(item);
        SCOPED_TRACE(i);
        EXPECT_EQ(item->Text(), values[size_t(i)].label);
        EXPECT_EQ(r->TOCNodeType, TOCNodeType::RendererItem);
        EXPECT_EQ(r->Index, i);
        EXPECT_EQ(r->FeatureRendererType, FeatureRendererType::UniqueValue);
        EXPECT_EQ(r->Symbol.get(), values[size_t(i)].symbol.get());
        expect_feature_row(r, item, layer.get(), GeometryPolyline);
    }
}

TEST_F(Legends, PieChartGivesOneUntitledRowWithTheChartSymbol) {
    auto chart = pie_symbol({RGB(255, 0, 0), RGB(0, 0, 255)});
    auto layer = rendered_feature_layer(L"Votes", GeometryPolygon, pie_chart_renderer(chart));
    ASSERT_EQ(show({layer}), S_OK);

    auto legend = rows(L"Votes");
    ASSERT_EQ(legend.size(), 1u);
    auto r = record(legend[0]);
    EXPECT_EQ(legend[0]->Text(), L"");
    EXPECT_EQ(r->TOCNodeType, TOCNodeType::RendererItem);
    EXPECT_EQ(r->Index, 0);
    EXPECT_EQ(r->FeatureRendererType, FeatureRendererType::PieChartRenderer);
    EXPECT_TRUE(com::same_object(r->Symbol.get(), chart.get()));
    expect_feature_row(r, legend[0], layer.get(), GeometryPolygon);
}

TEST_F(Legends, RenderersWithoutClassesShowTheirHeadingAlone) {
    auto breaks = rendered_feature_layer(L"Empty breaks", GeometryPolygon, class_breaks_renderer(L"AREA", {}));
    auto unique = rendered_feature_layer(L"Empty values", GeometryPoint, unique_value_renderer(L"KIND", {}));
    ASSERT_EQ(show({breaks, unique}), S_OK);

    auto first = rows(L"Empty breaks");
    ASSERT_EQ(first.size(), 1u);
    expect_heading(first[0], L"AREA", breaks.get());
    auto second = rows(L"Empty values");
    ASSERT_EQ(second.size(), 1u);
    expect_heading(second[0], L"KIND", unique.get());
}

TEST_F(Legends, UnknownOrMissingRenderersGiveOnlyTheLayerItemWithItsShapeTypeAndState) {
    auto unknown = rendered_feature_layer(L"Odd", GeometryPoint, UnknownFeatureRenderer::make());
    auto none = rendered_feature_layer(L"Bare", GeometryPolyline, nullptr);
    ASSERT_EQ(show({unknown, none}), S_OK);

    for (auto [name, shape] : {std::pair{L"Odd", GeometryPoint}, std::pair{L"Bare", GeometryPolyline}}) {
        SCOPED_TRACE(std::wstring(name));
        EXPECT_TRUE(rows(name).empty());
        auto r = record(layer_item(name));
        EXPECT_EQ(r->TOCNodeType, TOCNodeType::Layer);
        EXPECT_EQ(r->ShapeType, shape);
        // No remembered state: shown expanded, as every new layer item is.
        EXPECT_TRUE(layer_item(name)->Expanded());
    }
}

TEST_F(Legends, LegendsSitUnderTheirLayerInsideGroupLayersToo) {
    auto member = rendered_feature_layer(L"Wells", GeometryPoint, simple_renderer(marker_symbol(RGB(0, 0, 255))));
    ASSERT_EQ(show({group_layer(L"Water", {member})}), S_OK);

    auto legend = rows(L"Wells");
    ASSERT_EQ(legend.size(), 1u);
    auto r = record(legend[0]);
    EXPECT_EQ(r->TOCNodeType, TOCNodeType::LayerSymbol);
    EXPECT_EQ(r->ShapeType, GeometryPoint);
    // Only the layer item records its group.
    EXPECT_TRUE(record(layer_item(L"Wells"))->GroupLayer);
    EXPECT_FALSE(r->GroupLayer);
}

TEST_F(Legends, RowWhoseRecordCannotBeCompletedStaysWithoutRecordAndEndsTheRebuild) {
    EXPECT_EQ(show({rendered_feature_layer(L"Wells", GeometryPoint, ManyValuesRenderer::make(3, 1))}), E_FAIL);
    auto legend = rows(L"Wells");
    ASSERT_EQ(legend.size(), 3u);  // the heading, the first value and the value that failed
    EXPECT_EQ(record(legend[1])->Index, 0);
    EXPECT_EQ(legend[2]->Text(), L"label 1");
    EXPECT_FALSE(legend[2]->Tag());
}

TEST_F(Legends, FeatureLayerWithoutFeatureClassFailsTheRebuildAfterItsLayerItem) {
    auto broken = make_layer(LayerKind::Feature, L"No class");
    com::check(broken.as<IFeatureRendering>()->putref_FeatureClass(nullptr));
    auto after = rendered_feature_layer(L"After", GeometryPoint, nullptr);
    EXPECT_EQ(show({broken, after}), com::CTL_E_OBJECTNOTSET);
    EXPECT_TRUE(item_named(nodes(), L"No class"));
    EXPECT_FALSE(item_named(nodes(), L"After"));
}
