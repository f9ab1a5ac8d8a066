// The shapes symbols draw on, the transformation of a swatch bitmap, and the two symbols the
// control makes itself.
#include <gtest/gtest.h>
#include <climits>
#include "com/error.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/draw/symbol_factories.h"
#include "kelpy/tree/renderer_kinds.h"
#include "kelpy/draw/fake_symbol.h"
#include "win/handles.h"

using namespace test;

namespace {

class Factories : public ::testing::Test {
protected:
    com::ComPtr<IGeometry> shape(LONG x, LONG y, LONG w, LONG h, LONG type) {
        return kelpy::draw::CreateSymbolGeometry(x, y, w, h, type);
    }
};

std::pair<double, double> coords(const com::ComPtr<IPoint>& p) {
    double x = 0, y = 0;
    com::check(p->get_X(&x));
    com::check(p->get_Y(&y));
    return {x, y};
}

}  // namespace

TEST_F(Factories, PointsSitAtTheRectanglesCentreWithRealHalves) {
    EXPECT_EQ(coords(shape(0, 0, 18, 18, GeometryPoint).as<IPoint>()), std::make_pair(9.0, 9.0));
    EXPECT_EQ(coords(shape(1, 1, 15, 17, GeometryPoint).as<IPoint>()), std::make_pair(8.5, 9.5));
}

TEST_F(Factories, LinesRunAcrossTheRectangleAtHalfItsHeight) {
    auto line = shape(1, 1, 16, 17, GeometryPolyline).as<ISegment>();
    com::ComPtr<IPoint> from, to;
    com::check(line->get_FromPoint(from.put()));
    com::check(line->get_ToPoint(to.put()));
    EXPECT_EQ(coords(from), std::make_pair(1.0, 9.5));
    EXPECT_EQ(coords(to), std::make_pair(17.0, 9.5));
}

TEST_F(Factories, RectanglesCoverTheRectangle) {
    auto rect = shape(0, 0, 15, 48, GeometryPolygon);
    ASSERT_TRUE(rect.query<IEnvelope>());
    EXPECT_EQ(box_of(rect.get()), (Box{0, 0, 15, 48}));
}

TEST_F(Factories, OtherShapeTypesGiveNothing) {
    EXPECT_FALSE(shape(0, 0, 18, 18, GeometryMultipoint));
    EXPECT_FALSE(shape(0, 0, 18, 18, GeometryNull));
    EXPECT_FALSE(shape(0, 0, 18, 18, GeometryEnvelope));
}

TEST_F(Factories, WholeNumberSumsThatOverflowAreErrors) {
    try {
        shape(INT_MAX, 0, 1, 1, GeometryPolygon);
        FAIL() << "no error";
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.hr(), CTL_E_OVERFLOW);
    }
    // A point's halves are real sums.
    EXPECT_TRUE(shape(INT_MAX, 0, 1, 1, GeometryPoint));
}

TEST_F(Factories, TransformationMapsTheSwatchPixelForPixelAtTheContextsResolution) {
    const win::MemoryDC memory(CreateCompatibleDC(win::WindowDC(nullptr).get()));
    auto t = kelpy::draw::CreateTransFromDC(reinterpret_cast<LONG_PTR>(memory.get()), 22, 22);
    ASSERT_TRUE(t);
    auto display = t.as<IDisplayTransformation>();
    com::ComPtr<IEnvelope> bounds, visible;
    com::check(display->get_Bounds(bounds.put()));
    com::check(display->get_VisibleBounds(visible.put()));
    EXPECT_EQ(box_of(bounds.as<IGeometry>().get()), (Box{0, 0, 22, 22}));
    EXPECT_EQ(box_of(visible.as<IGeometry>().get()), (Box{0, 0, 22, 22}));
    LONG frame[4] = {-1, -1, -1, -1};
    com::check(display->GetDeviceFrame(&frame[0], &frame[1], &frame[2], &frame[3]));
    EXPECT_EQ(std::vector<LONG>(frame, frame + 4), (std::vector<LONG>{0, 0, 22, 22}));
    double dpi = 0;
    com::check(t->get_Resolution(&dpi));
    EXPECT_EQ(dpi, 96.0);
}

TEST_F(Factories, ContextWithoutResolutionGivesNoTransformationAndNoError) {
    HDC gone = CreateCompatibleDC(nullptr);
    DeleteDC(gone);
    ASSERT_EQ(GetDeviceCaps(gone, LOGPIXELSY), 0);
    com::ComPtr<ITransformation> t;
    EXPECT_NO_THROW(t = kelpy::draw::CreateTransFromDC(reinterpret_cast<LONG_PTR>(gone), 22, 22));
    EXPECT_FALSE(t);
    EXPECT_FALSE(kelpy::draw::CreateTransFromDC(reinterpret_cast<LONG_PTR>(nullptr), 22, 22));
}

TEST_F(Factories, FillSymbolIsASolidFillOfTheColourWithTheDefaultOutline) {
    auto symbol = kelpy::tree::CreateFillSymbol(0x00FF00);
    auto fill = symbol.as<ISolidFillSymbol>();
    com::ComPtr<IColor> color;
    com::check(fill->get_Color(color.put()));
    LONG rgb = 0;
    com::check(color->get_RGB(&rgb));
    EXPECT_EQ(rgb, 0x00FF00);
    FillStyle style = FillHollow;
    com::check(fill->get_Style(&style));
    EXPECT_EQ(style, FillSolid);
    com::ComPtr<ILineSymbol> outline;
    com::check(fill->get_Outline(outline.put()));
    EXPECT_TRUE(outline);
}

TEST_F(Factories, GradientSymbolShowsTheRampWithTheThreeSettingsAndNoOutline) {
    auto ramp = color_ramp(RGB(0, 0, 255), RGB(255, 0, 0));
    auto gradient = kelpy::tree::CreateGradientSymbol(ramp).as<IGradientFillSymbol>();
    com::ComPtr<IColorRamp> shown;
    com::check(gradient->get_ColorRamp(shown.put()));
    EXPECT_TRUE(com::same_object(shown.get(), ramp.get()));
    LONG style = -1, intervals = 0;
    double angle = 0;
    com::check(gradient->get_Style(&style));
    com::check(gradient->get_Angle(&angle));
    com::check(gradient->get_IntervalCount(&intervals));
    EXPECT_EQ(style, 0);
    EXPECT_EQ(angle, 280.0);
    EXPECT_EQ(intervals, 50);
    com::ComPtr<ILineSymbol> outline;
    com::check(gradient->get_Outline(outline.put()));
    double width = -1;
    com::check(outline->get_Width(&width));
    EXPECT_EQ(width, 0.0);
}
