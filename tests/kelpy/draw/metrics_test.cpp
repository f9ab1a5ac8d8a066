// Measuring a legend row: the swatch size from the symbol's boundary with a margin, and the
// row's height in whole standard rows.
#include "kelpy/draw/draw_fixture.h"
#include "kelpy/model/items.h"

using namespace test;

struct Metrics {
    double boundary_width, boundary_height;  // what the symbol covers
    LONG width, height, rows;                // the swatch and the row it gives
};

class Measuring : public Drawing, public ::testing::WithParamInterface<Metrics> {};

TEST_P(Measuring, SwatchIsTheBoundaryWithMarginsAndTheRowAWholeNumberOfRows) {
    const Metrics m = GetParam();
    auto symbol = FakeSymbol::make();
    symbol->boundary_width = m.boundary_width;
    symbol->boundary_height = m.boundary_height;
    show({rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(symbol.get()))});

    kelpy::NodePtr row = first_row(L"Lakes");
    auto r = kelpy::RecordOf(row);
    EXPECT_EQ(r->SymbolWidth, m.width);
    EXPECT_EQ(r->SymbolHeight, m.height);
    EXPECT_EQ(r->ItemHeight, 16 * m.rows);
    EXPECT_EQ(row_height(row), standard_row() * m.rows);
    // Asked once, on the feature shape of an 18-pixel square, in the tree's pixels.
    EXPECT_EQ(symbol->calls, std::vector<std::wstring>{L"QueryBoundary"});
    EXPECT_EQ(symbol->measured_type, GeometryEnvelope);
    EXPECT_EQ(symbol->measured, (Box{0, 0, 18, 18}));
    EXPECT_TRUE(symbol->measured_without_transformation);
    EXPECT_NE(symbol->measured_dc, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Measuring,
                         ::testing::Values(Metrics{19, 19, 23, 23, 1},     // 23 / 16 = 1.44
                                           Metrics{15, 48, 19, 52, 3},     // 3.25
                                           Metrics{10, 4, 14, 8, 1},       // 0.5 rounds to 0: at least 1
                                           Metrics{10, 20, 14, 24, 2},     // 1.5 rounds to 2
                                           Metrics{10, 36, 14, 40, 2},     // 2.5 rounds to 2
                                           Metrics{18.5, 17.5, 22, 22, 1}  // 22.5 x 21.5, halves to even
                                           ));

TEST_F(Drawing, EachKindOfRowIsMeasuredOnItsOwnShape) {
    auto point = FakeSymbol::make(), line = FakeSymbol::make(), raster = FakeSymbol::make();
    show({rendered_feature_layer(L"Wells", GeometryPoint, simple_renderer(point.get())),
          rendered_feature_layer(L"Roads", GeometryPolyline, simple_renderer(line.get())),
          rendered_raster_layer(L"Slope", raster_classify_renderer(L"DEG", {{L"Flat", raster.get()}}))});

    EXPECT_EQ(point->measured_type, GeometryPoint);
    EXPECT_EQ(point->measured, (Box{9, 9, 9, 9}));
    EXPECT_EQ(line->measured_type, GeometryLine);
    EXPECT_EQ(line->measured, (Box{0, 9, 18, 9}));
    EXPECT_EQ(raster->measured_type, GeometryEnvelope);
    EXPECT_EQ(raster->measured, (Box{0, 0, 18, 18}));

    // A stretched ramp is measured on a tall bar.
    kelpy::NodePtr row = item(L"Flat");
    auto tall = FakeSymbol::make();
    kelpy::RecordOf(row)->RasterRendererType = RasterRendererType::StretchColorRamp;
    kelpy::RecordOf(row)->Symbol = tall.get();
    host.toc().painter().MeasureSymbol(row);
    EXPECT_EQ(tall->measured_type, GeometryEnvelope);
    EXPECT_EQ(tall->measured, (Box{0, 0, 15, 48}));
}

TEST_F(Drawing, EmptyBoundaryFallsBackToTheShape) {
    auto symbol = FakeSymbol::make();
    symbol->empty_boundary = true;
    show({rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(symbol.get()))});
    auto r = kelpy::RecordOf(first_row(L"Lakes"));
    EXPECT_EQ(r->SymbolWidth, 22);
    EXPECT_EQ(r->SymbolHeight, 22);
    EXPECT_EQ(r->ItemHeight, 16);
}

TEST_F(Drawing, SecondMeasureAfterASymbolChangeOverwritesEverything) {
    auto first = FakeSymbol::make();
    show({rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(first.get()))});
    kelpy::NodePtr row = first_row(L"Lakes");
    ASSERT_EQ(row_height(row), standard_row());

    auto second = FakeSymbol::make();
    second->boundary_width = 30;
    second->boundary_height = 60;  // 34 x 64: four rows
    kelpy::RecordOf(row)->Symbol = second.get();
    host.toc().painter().MeasureSymbol(row);
    auto r = kelpy::RecordOf(row);
    EXPECT_EQ(r->SymbolWidth, 34);
    EXPECT_EQ(r->SymbolHeight, 64);
    EXPECT_EQ(r->ItemHeight, 64);
    EXPECT_EQ(row_height(row), 4 * standard_row());
}

TEST_F(Drawing, RowsWithoutSymbolOrKnownShapeAreLeftAsTheyAre) {
    auto symbol = FakeSymbol::make();
    symbol->boundary_height = 30;  // 34: two rows
    show({rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(symbol.get()))});
    kelpy::NodePtr row = first_row(L"Lakes");
    auto r = kelpy::RecordOf(row);
    const LONG width = r->SymbolWidth, height = r->SymbolHeight, item_height = r->ItemHeight;
    ASSERT_EQ(item_height, 32);

    r->ShapeType = GeometryMultipoint;
    symbol->calls.clear();
    host.toc().painter().MeasureSymbol(row);
    EXPECT_TRUE(symbol->calls.empty());

    r->ShapeType = GeometryPolygon;
    r->Symbol = nullptr;
    host.toc().painter().MeasureSymbol(row);

    EXPECT_EQ(r->SymbolWidth, width);
    EXPECT_EQ(r->SymbolHeight, height);
    EXPECT_EQ(r->ItemHeight, item_height);
    EXPECT_EQ(row_height(row), 2 * standard_row());
}

TEST_F(Drawing, FailingBoundaryQueryFailsTheRebuildWithTheRowInPlaceAndItsRecordUntouched) {
    auto symbol = FakeSymbol::make();
    symbol->fail_boundary = true;
    symbol->boundary_height = 40;  // would be three rows
    EXPECT_EQ(host.initialize(make_map(L"World", {rendered_feature_layer(L"Lakes", GeometryPolygon,
                                                                          simple_renderer(symbol.get()))})
                                  .get()),
              E_FAIL);
    kelpy::NodePtr row = first_row(L"Lakes");
    auto r = kelpy::RecordOf(row);
    EXPECT_EQ(r->Symbol.get(), static_cast<ISymbol*>(symbol.get()));
    EXPECT_EQ(r->Handle, reinterpret_cast<LONG_PTR>(row->handle()));
    EXPECT_EQ(r->ItemHeight, 0);
    EXPECT_EQ(r->SymbolWidth, 0);
    EXPECT_EQ(r->SymbolHeight, 0);
    TVITEMEXW native{};  // the row is hidden (its layer collapsed): its height as the tree holds it
    native.mask = TVIF_HANDLE | TVIF_INTEGRAL;
    native.hItem = row->handle();
    ASSERT_TRUE(SendMessageW(host.tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&native)));
    EXPECT_EQ(native.iIntegral, 1);
}

TEST_F(Drawing, ARebuildAsksEachSymbolOnceHoweverManyRowsShowIt) {
    auto shared = FakeSymbol::make();
    shared->boundary_height = 30;  // 34: two rows
    show({rendered_feature_layer(L"Roads", GeometryPolyline,
                                 unique_value_renderer(L"KIND", {{L"A", L"Alpha", shared.get()}, {L"B", L"Beta", shared.get()}})),
          rendered_feature_layer(L"Paths", GeometryPolyline, simple_renderer(shared.get()))});
    EXPECT_EQ(shared->calls, std::vector<std::wstring>{L"QueryBoundary"});
    for (const wchar_t* text : {L"Alpha", L"Beta"}) {
        SCOPED_TRACE(std::wstring(text));
        EXPECT_EQ(kelpy::RecordOf(item(text))->ItemHeight, 32);
        EXPECT_EQ(row_height(item(text)), 2 * standard_row());
    }
    EXPECT_EQ(kelpy::RecordOf(first_row(L"Paths"))->SymbolHeight, 34);

    // The next rebuild asks again: the symbol may have changed since.
    shared->boundary_height = 10;
    ASSERT_EQ(host.reset(), S_OK);
    EXPECT_EQ(shared->calls, (std::vector<std::wstring>{L"QueryBoundary", L"QueryBoundary"}));
    EXPECT_EQ(kelpy::RecordOf(item(L"Alpha"))->ItemHeight, 16);
}

TEST_F(Drawing, AModelSymbolIsMeasuredAnewWhenItsSettingsChangedBetweenRebuilds) {
    // The model's symbols are known across rebuilds by their settings; one changed in place
    // between two rebuilds must not keep the measure of its old settings.
    com::ComPtr<ISymbol> marker = marker_symbol(RGB(0, 0, 255), 8.0);
    show({rendered_feature_layer(L"Wells", GeometryPoint, simple_renderer(marker))});
    const LONG small = kelpy::RecordOf(first_row(L"Wells"))->SymbolHeight;
    ASSERT_EQ(host.reset(), S_OK);
    EXPECT_EQ(kelpy::RecordOf(first_row(L"Wells"))->SymbolHeight, small);

    ASSERT_EQ(marker.as<IMarkerSymbol>()->put_Size(40.0), S_OK);
    ASSERT_EQ(host.reset(), S_OK);
    EXPECT_GT(kelpy::RecordOf(first_row(L"Wells"))->SymbolHeight, small + 30);
    EXPECT_GT(row_height(first_row(L"Wells")), standard_row());
}
