// DrawItem on its own: which rows the control paints, the shape and transformation the symbol
// gets, where the swatch and the label land, and that nothing is left behind in any context.
#include "com/error.h"
#include "kelpy/common/canvas.h"
#include "kelpy/draw/draw_fixture.h"
#include "kelpy/model/items.h"

using namespace test;

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF green = RGB(0, 128, 0);

class Painting : public Drawing {
protected:
    Canvas canvas{240, 80};
    com::ComPtr<FakeSymbol> symbol = FakeSymbol::make();

    void SetUp() override {
        symbol->boundary_width = symbol->boundary_height = 18;  // a 22 x 22 swatch
        show({rendered_feature_layer(L"Lakes", GeometryPolygon,
                                     unique_value_renderer(L"DEPTH", {{L"D", L"Deep", symbol.get()}})),
              group_layer(L"Base", {rendered_feature_layer(L"Roads", GeometryPolyline, nullptr)})});
    }

    // Draws an item with this label rectangle on the canvas; answers SkipDefault.
    bool draw(const kelpy::NodePtr& node, RECT label, HDC dc = nullptr) {
        auto rect = kelpy::CRect::create();
        rect->Left = label.left;
        rect->Top = label.top;
        rect->Right = label.right;
        rect->Bottom = label.bottom;
        auto args = kelpy::CustomDrawEventArgs::create();
        args->Node = node ? com::ComPtr<IDispatch>(static_cast<IDispatch*>(node.get())) : nullptr;
        args->Rect = rect;
        args->hdc = reinterpret_cast<LONG_PTR>(dc ? dc : canvas.dc());
        host.toc().painter().DrawItem(args);
        return args->SkipDefault;
    }
    kelpy::NodePtr row() { return item(L"Deep"); }
    com::ComPtr<kelpy::TocNode> row_record() { return kelpy::RecordOf(row()); }
};

const RECT label{100, 0, 180, 16};

}  // namespace

TEST_F(Painting, ItemsOfTheTreeAreLeftToTheTreeAndTheHolderStaysBlank) {
    EXPECT_FALSE(draw(nullptr, label));
    for (const wchar_t* text : {L"World", L"Lakes", L"Base", L"DEPTH"}) {
        SCOPED_TRACE(std::wstring(text));
        EXPECT_FALSE(draw(item(text), label));
    }
    EXPECT_TRUE(draw(nodes().Item(L"holder"), label));
    EXPECT_EQ(canvas.ink(), 0);
    EXPECT_TRUE(symbol->calls.empty() || symbol->calls == std::vector<std::wstring>{L"QueryBoundary"});
}

TEST_F(Painting, ClassRowOfAPolygonLayerDrawsItsSwatchBesideTheLabelAndItsText) {
    symbol->calls.clear();
    EXPECT_TRUE(draw(row(), label));

    EXPECT_EQ(symbol->calls, (std::vector<std::wstring>{L"SetupDC", L"Draw", L"ResetDC"}));
    EXPECT_EQ(symbol->drawn_type, GeometryEnvelope);
    EXPECT_EQ(symbol->drawn, (Box{1, 10, 17, 22}));
    // One world unit per pixel of the 22 x 22 bitmap, with the three further settings.
    const TransformationSeen& t = symbol->setup;
    ASSERT_TRUE(t.present);
    EXPECT_EQ(t.bounds, (Box{0, 0, 22, 22}));
    EXPECT_EQ(t.visible, (Box{0, 0, 22, 22}));
    EXPECT_EQ(std::vector<long>(t.frame, t.frame + 4), (std::vector<long>{0, 0, 22, 22}));
    EXPECT_EQ(t.resolution, 96.0);
    EXPECT_EQ(t.scale, 1.0);
    EXPECT_EQ(t.quality, 1.5);
    EXPECT_EQ(t.units, 2);

    // The bitmap lands at (label left - 23, label top + 2), 22 x 22, and nowhere else.
    EXPECT_EQ(canvas.count(RECT{77, 2, 99, 24}, green), 22 * 22);
    EXPECT_EQ(canvas.count(RECT{0, 0, 240, 80}, green), 22 * 22);
    // The label's text from (label left, label top + 3).
    EXPECT_GT(canvas.ink(RECT{100, 3, 180, 16}), 0);
    EXPECT_EQ(canvas.ink(RECT{100, 0, 180, 3}), 0);
}

TEST_F(Painting, MapModelSymbolFillsTheUpperRectangleOfAWhiteSwatch) {
    constexpr COLORREF plum = RGB(142, 69, 133);
    row_record()->Symbol = solid_fill(plum, false);
    EXPECT_TRUE(draw(row(), label));
    // World (1, 10) to (17, 22), y up, is the bitmap's x 1 to 17 and y 0 to 12.
    const int x0 = 77, y0 = 2;
    EXPECT_GE(canvas.count(RECT{x0 + 1, y0, x0 + 17, y0 + 12}, plum), 15 * 11);
    EXPECT_EQ(canvas.count(RECT{0, 0, 240, 80}, plum), canvas.count(RECT{x0, y0, x0 + 18, y0 + 13}, plum));
    EXPECT_EQ(canvas.count(RECT{x0, y0, x0 + 22, y0 + 22}, white) + canvas.count(RECT{x0, y0, x0 + 22, y0 + 22}, plum),
              22 * 22);
}

TEST_F(Painting, PointsAndLinesSitInTheMiddleOfTheWholeSwatch) {
    auto r = row_record();
    r->ShapeType = GeometryPoint;
    draw(row(), label);
    EXPECT_EQ(symbol->drawn_type, GeometryPoint);
    EXPECT_EQ(symbol->drawn, (Box{9, 9.5, 9, 9.5}));

    r->ShapeType = GeometryPolyline;
    draw(row(), label);
    EXPECT_EQ(symbol->drawn_type, GeometryLine);
    EXPECT_EQ(symbol->drawn, (Box{1, 9.5, 17, 9.5}));
}

TEST_F(Painting, RasterRowsAlwaysDrawOnTheUpperRectangle) {
    auto r = row_record();
    r->LayerType = LayerType::RasterLayer;
    r->ShapeType = GeometryPoint;
    for (auto kind : {RasterRendererType::RGB, RasterRendererType::UniqueValue, RasterRendererType::ClassifyColorRamp}) {
        r->RasterRendererType = kind;
        draw(row(), label);
        EXPECT_EQ(symbol->drawn_type, GeometryEnvelope);
        EXPECT_EQ(symbol->drawn, (Box{1, 10, 17, 22}));
    }
    EXPECT_GT(canvas.ink(RECT{100, 3, 180, 16}), 0);
}

TEST_F(Painting, StretchedRampShowsHighAndLowInsteadOfItsText) {
    auto r = row_record();
    r->LayerType = LayerType::RasterLayer;
    r->RasterRendererType = RasterRendererType::StretchColorRamp;
    const RECT tall{100, 0, 180, 48};
    EXPECT_TRUE(draw(row(), tall));
    // "High" at the top left and "Low" at the bottom left of (100, 3, 177, 45).
    EXPECT_GT(canvas.ink(RECT{100, 3, 177, 17}), 0);
    EXPECT_GT(canvas.ink(RECT{100, 31, 177, 45}), 0);
    EXPECT_EQ(canvas.ink(RECT{100, 19, 240, 29}), 0);
    EXPECT_EQ(canvas.ink(RECT{177, 0, 240, 80}), 0);
    EXPECT_EQ(canvas.ink(RECT{100, 45, 240, 80}), 0);
}

TEST_F(Painting, SwatchRowsShowTheirSwatchOnly) {
    row_record()->TOCNodeType = TOCNodeType::LayerSymbol;
    EXPECT_TRUE(draw(row(), label));
    EXPECT_EQ(canvas.count(RECT{77, 2, 99, 24}, green), 22 * 22);
    EXPECT_EQ(canvas.ink(RECT{100, 0, 240, 80}), 0);
}

TEST_F(Painting, RowsWithoutSymbolOrShapeAreBlankButStillTheControls) {
    row_record()->ShapeType = GeometryMultipoint;
    symbol->calls.clear();
    EXPECT_TRUE(draw(row(), label));
    EXPECT_TRUE(symbol->calls.empty());

    row_record()->ShapeType = GeometryPolygon;
    row_record()->Symbol = nullptr;
    EXPECT_TRUE(draw(row(), label));
    EXPECT_EQ(canvas.ink(), 0);
}

TEST_F(Painting, NothingStaysSelectedInEitherContext) {
    const UINT kinds[] = {OBJ_BITMAP, OBJ_BRUSH, OBJ_PEN, OBJ_FONT};
    HGDIOBJ before[4];
    for (int i = 0; i < 4; ++i) before[i] = GetCurrentObject(canvas.dc(), kinds[i]);
    for (int k = 0; k < 50; ++k) draw(row(), label);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GetCurrentObject(canvas.dc(), kinds[i]), before[i]);
}

TEST_F(Painting, SymbolThatFailsToDrawIsResetAndTheFailureReachesTheCaller) {
    symbol->fail_draw = true;
    symbol->calls.clear();
    try {
        draw(row(), label);
        FAIL() << "no error";
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.hr(), E_FAIL);
    }
    EXPECT_EQ(symbol->calls, (std::vector<std::wstring>{L"SetupDC", L"Draw", L"ResetDC"}));
    EXPECT_EQ(canvas.ink(), 0);
}

TEST_F(Painting, ContextWithoutResolutionLeavesTheSwatchUndrawnAndTheRowTheControls) {
    HDC gone = CreateCompatibleDC(nullptr);
    DeleteDC(gone);
    symbol->calls.clear();
    bool skip = false;
    EXPECT_NO_THROW(skip = draw(row(), label, gone));
    EXPECT_TRUE(skip);
    EXPECT_TRUE(symbol->calls.empty());
}
