// Legends of raster layers: the composite's three bands, the stretched ramp, unique values class
// by class, classified classes; every legend row marked as a raster row.
#include "kelpy/tree/fake_renderers.h"
#include "kelpy/tree/legend_fixture.h"
#include "kelpy/model/items.h"

using namespace test;

namespace {

LONG fill_rgb(ISymbol* symbol) {
    com::ComPtr<IColor> c;
    com::check(com::ComPtr<ISymbol>(symbol).as<ISolidFillSymbol>()->get_Color(c.put()));
    LONG v = 0;
    com::check(c->get_RGB(&v));
    return v;
}

// The fields every row of a raster legend shares, headings included.
void expect_raster_row(const kelpy::NodePtr& item, ILayer* layer, RasterRendererType kind) {
    auto r = kelpy::RecordOf(item);
    EXPECT_EQ(r->LayerType, LayerType::RasterLayer);
    EXPECT_EQ(r->RasterRendererType, kind);
    EXPECT_EQ(r->FeatureRendererType, FeatureRendererType::Simple);
    EXPECT_TRUE(com::same_object(r->Layer.get(), layer));
    EXPECT_FALSE(r->GroupLayer);
    EXPECT_EQ(r->ShapeType, 0);
    EXPECT_EQ(r->Handle, reinterpret_cast<LONG_PTR>(item->handle()));
    EXPECT_TRUE(item->Key().empty());
    EXPECT_TRUE(item->Image().empty());
}

}  // namespace

TEST_F(Legends, CompositeGivesItsHeadingAndThreeBandsOfPureColour) {
    auto layer = rendered_raster_layer(L"Photo", rgb_renderer());
    ASSERT_EQ(show({layer}), S_OK);

    // The raster layer's own item keeps the defaults of a new record.
    auto own = record(layer_item(L"Photo"));
    EXPECT_EQ(own->LayerType, LayerType::FeatureLayer);
    EXPECT_EQ(own->ShapeType, 0);

    auto legend = rows(L"Photo");
    ASSERT_EQ(legend.size(), 4u);
    EXPECT_EQ(legend[0]->Text(), L"RGB Composite");
    EXPECT_EQ(record(legend[0])->TOCNodeType, TOCNodeType::RendererName);
    EXPECT_FALSE(record(legend[0])->Symbol);
    const std::wstring texts[] = {L"Red:    Band_1", L"Green: Band_2", L"Blue:   Band_3"};
    const LONG colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const kelpy::NodePtr& band = legend[size_t(i) + 1];
        auto r = record(band);
        EXPECT_EQ(band->Text(), texts[i]);
        EXPECT_EQ(r->TOCNodeType, TOCNodeType::RendererItem);
        EXPECT_EQ(r->Index, i);
        EXPECT_EQ(r->Index2, 0);
        ASSERT_TRUE(r->Symbol);
        EXPECT_EQ(fill_rgb(r->Symbol.get()), colours[i]);
        EXPECT_GT(r->SymbolHeight, 0);
    }
    for (const auto& item : legend) expect_raster_row(item, layer.get(), RasterRendererType::RGB);
}

TEST_F(Legends, StretchedRasterGivesOneUntitledRampRowMeasuredOnATallBar) {
    auto ramp = color_ramp(RGB(0, 0, 128), RGB(255, 255, 0));
    auto layer = rendered_raster_layer(L"Elevation", stretch_renderer(ramp));
    ASSERT_EQ(show({layer}), S_OK);

    auto legend = rows(L"Elevation");
    ASSERT_EQ(legend.size(), 1u);
    auto r = record(legend[0]);
    EXPECT_EQ(legend[0]->Text(), L"");
    EXPECT_EQ(r->TOCNodeType, TOCNodeType::RendererItem);
    expect_raster_row(legend[0], layer.get(), RasterRendererType::StretchColorRamp);
    // A patch of the renderer's ramp.
    auto gradient = r->Symbol.as<IGradientFillSymbol>();
    com::ComPtr<IColorRamp> shown;
    com::check(gradient->get_ColorRamp(shown.put()));
    EXPECT_TRUE(com::same_object(shown.get(), ramp.get()));
    // Taller than it is wide, and more than one standard row.
    EXPECT_GT(r->SymbolHeight, r->SymbolWidth);
    EXPECT_GE(r->ItemHeight, 32);
}

TEST_F(Legends, RasterUniqueValuesRunClassByClassWithBothPositions) {
    std::vector<std::vector<ValueSpec>> classes{
        {{L"1", L"Forest", solid_fill(RGB(0, 100, 0))}, {L"2", L"Scrub", solid_fill(RGB(120, 160, 60))}},
        {},
        {{L"7", L"Water", solid_fill(RGB(0, 0, 200))}}};
    auto renderer = raster_unique_renderer(L"COVER", classes);
    auto layer = rendered_raster_layer(L"Land cover", renderer);
    ASSERT_EQ(show({layer}), S_OK);

    auto legend = rows(L"Land cover");
    ASSERT_EQ(legend.size(), 4u);
    EXPECT_EQ(legend[0]->Text(), L"COVER");
    EXPECT_EQ(record(legend[0])->TOCNodeType, TOCNodeType::RendererName);
    struct Expected {
        const wchar_t* text;
        LONG index, index2;
        ISymbol* symbol;
    } expected[] = {{L"Forest", 0, 0, classes[0][0].symbol.get()},
                    {L"Scrub", 0, 1, classes[0][1].symbol.get()},
                    {L"Water", 2, 0, classes[2][0].symbol.get()}};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        auto r = record(legend[size_t(k) + 1]);
        EXPECT_EQ(legend[size_t(k) + 1]->Text(), expected[k].text);
        EXPECT_EQ(r->TOCNodeType, TOCNodeType::RendererItem);
        EXPECT_EQ(r->Index, expected[k].index);
        EXPECT_EQ(r->Index2, expected[k].index2);
        EXPECT_EQ(r->Symbol.get(), expected[k].symbol);
    }
    for (const auto& item : legend) expect_raster_row(item, layer.get(), RasterRendererType::UniqueValue);
}

TEST_F(Legends, ClassifiedRasterGivesItsFieldAndOneRowPerClass) {
    std::vector<ClassSpec> classes;
    for (int i = 0; i < 5; ++i) classes.push_back({L"Class " + std::to_wstring(i), solid_fill(RGB(50 * i, 0, 0))});
    auto layer = rendered_raster_layer(L"Slope", raster_classify_renderer(L"DEGREES", classes));
    ASSERT_EQ(show({layer}), S_OK);

    auto legend = rows(L"Slope");
    ASSERT_EQ(legend.size(), 6u);
    EXPECT_EQ(legend[0]->Text(), L"DEGREES");
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        auto r = record(legend[size_t(i) + 1]);
        EXPECT_EQ(legend[size_t(i) + 1]->Text(), classes[size_t(i)].label);
        EXPECT_EQ(r->Index, i);
        EXPECT_EQ(r->Index2, 0);
        EXPECT_EQ(r->Symbol.get(), classes[size_t(i)].symbol.get());
    }
    for (const auto& item : legend) expect_raster_row(item, layer.get(), RasterRendererType::ClassifyColorRamp);
}

TEST_F(Legends, RasterWithUnknownOrNoRendererGivesOnlyTheLayerItem) {
    ASSERT_EQ(show({rendered_raster_layer(L"Odd", UnknownRasterRenderer::make()),
                    rendered_raster_layer(L"Bare", nullptr)}),
              S_OK);
    EXPECT_TRUE(rows(L"Odd").empty());
    EXPECT_TRUE(rows(L"Bare").empty());
    EXPECT_TRUE(layer_item(L"Bare")->Expanded());
}
