// The hosted control's tree painted into a bitmap (WM_PRINTCLIENT, which paints with the same
// custom draw as the screen): swatches where the rows' label rectangles put them, in their
// colours, and the rows the tree draws itself.
#include <algorithm>
#include "kelpy/common/canvas.h"
#include "kelpy/draw/draw_fixture.h"
#include "kelpy/model/items.h"

using namespace test;

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF navy = RGB(0, 0, 128);
constexpr COLORREF yellow = RGB(255, 255, 0);
constexpr COLORREF plum = RGB(142, 69, 133);

bool close_to(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// A map shown and its tree painted into a canvas, with the places of the rows' swatches.
class PaintedTree : public Drawing {
protected:
    std::unique_ptr<Canvas> canvas;

    void paint(std::initializer_list<com::ComPtr<ILayer>> layers) {
        show(layers);
        RECT client{};
        GetClientRect(host.tree(), &client);
        canvas = std::make_unique<Canvas>(client.right, client.bottom);
        SendMessageW(host.tree(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT | PRF_ERASEBKGND);
    }

    // A row's swatch on the canvas: (label left - 23, label top + 2), measured size.
    struct Swatch {
        int x0, y0, W, H;
        // The polygon's interior: world (1, 10) to (W - 5, H), y up, on the bitmap's rows 0 to H - 10.
        POINT centre() const { return {x0 + (W - 4) / 2, y0 + (H - 10) / 2}; }
    };
    Swatch swatch(const kelpy::NodePtr& row) {
        RECT label = item_rect(host.tree(), row->handle(), true);
        auto r = kelpy::RecordOf(row);
        return {int(label.left) - 23, int(label.top) + 2, int(r->SymbolWidth), int(r->SymbolHeight)};
    }
    COLORREF at(POINT p) { return canvas->pixel(p.x, p.y); }
    // The part of a swatch's bitmap right of the polygon (x from W - 3), within the row's own
    // height (a swatch taller than its row reaches into the rows below, which paint over it).
    RECT right_margin(const kelpy::NodePtr& row, const Swatch& s) {
        RECT own = item_rect(host.tree(), row->handle(), false);
        return RECT{s.x0 + s.W - 3, s.y0, s.x0 + s.W, std::min<LONG>(s.y0 + s.H, own.bottom)};
    }
    int label_ink(std::wstring_view text) { return canvas->ink(item_rect(host.tree(), item(text)->handle(), true)); }
};

class HostedPixels : public PaintedTree {
protected:
    void SetUp() override {
        paint({rendered_raster_layer(L"Photo", rgb_renderer()),
               rendered_feature_layer(L"Counties", GeometryPolygon,
                                      class_breaks_renderer(L"POP", {{L"Few", solid_fill(plum)}})),
               rendered_raster_layer(L"Elevation", stretch_renderer(color_ramp(navy, yellow)))});
    }
};

}  // namespace

TEST_F(HostedPixels, BandSwatchesArePureRedGreenAndBlue) {
    const std::pair<const wchar_t*, COLORREF> bands[] = {
        {L"Red:    Band_1", RGB(255, 0, 0)}, {L"Green: Band_2", RGB(0, 255, 0)}, {L"Blue:   Band_3", RGB(0, 0, 255)}};
    for (auto [text, colour] : bands) {
        SCOPED_TRACE(std::wstring(text));
        Swatch s = swatch(item(text));
        ASSERT_GT(s.W, 10);
        EXPECT_EQ(at(s.centre()), colour);
        EXPECT_EQ(canvas->ink(right_margin(item(text), s)), 0);
        // The label follows the swatch.
        EXPECT_GT(label_ink(text), 0);
    }
}

TEST_F(HostedPixels, ClassSwatchFillsTheUpperRectangleInTheClassColour) {
    Swatch s = swatch(item(L"Few"));
    EXPECT_EQ(at(s.centre()), plum);
    // The polygon covers world (1, 10) to (W - 5, H): the bitmap's rows 0 to H - 10.
    EXPECT_GE(canvas->count(RECT{s.x0, s.y0, s.x0 + s.W, s.y0 + s.H - 9}, plum), (s.W - 8) * (s.H - 12));
    EXPECT_EQ(canvas->ink(right_margin(item(L"Few"), s)), 0);
    EXPECT_GT(label_ink(L"Few"), 0);
}

TEST_F(HostedPixels, RampShowsItsTwoEndColoursWithTheLowEndAtTheBottom) {
    kelpy::NodePtr ramp = children_of(nodes(), item(L"Elevation")).front();
    Swatch s = swatch(ramp);
    ASSERT_GT(s.H, 40);
    const int x = s.x0 + (s.W - 4) / 2;
    EXPECT_TRUE(close_to(canvas->pixel(x, s.y0 + 1), yellow, 24)) << std::hex << canvas->pixel(x, s.y0 + 1);
    EXPECT_TRUE(close_to(canvas->pixel(x, s.y0 + s.H - 11), navy, 24)) << std::hex << canvas->pixel(x, s.y0 + s.H - 11);
    // "High" and "Low" beside it.
    RECT label = item_rect(host.tree(), ramp->handle(), true);
    EXPECT_GT(canvas->ink(RECT{label.left, label.top + 3, s.x0 + 100, label.top + 17}), 0);
    EXPECT_GT(canvas->ink(RECT{label.left, label.bottom - 17, s.x0 + 100, label.bottom - 3}), 0);
}

TEST_F(HostedPixels, HolderIsBlankAndTheTreeDrawsRootLayerAndHeadingRows) {
    RECT holder = item_rect(host.tree(), nodes().Item(L"holder")->handle(), false);
    ASSERT_GT(holder.bottom, holder.top);
    EXPECT_EQ(canvas->ink(holder), 0);
    for (const wchar_t* text : {L"World", L"Photo", L"Counties", L"POP", L"RGB Composite"}) {
        SCOPED_TRACE(std::wstring(text));
        EXPECT_GT(label_ink(text), 0);
    }
}

TEST_F(PaintedTree, SwatchesAndLabelsSitByTheTreesLabelRectanglesAtEveryLevel) {
    constexpr COLORREF teal = RGB(0, 128, 128), orange = RGB(255, 140, 0);
    // The first legend row painted is deeper than the rows after it, whose texts differ in width.
    paint({group_layer(L"Base", {rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(solid_fill(teal)))}),
           rendered_feature_layer(L"Counties", GeometryPolygon,
                                  class_breaks_renderer(L"POP", {{L"Few", solid_fill(plum)},
                                                                 {L"A great many people", solid_fill(orange)}}))});
    const std::pair<kelpy::NodePtr, COLORREF> rows[] = {
        {first_row(L"Lakes"), teal}, {item(L"Few"), plum}, {item(L"A great many people"), orange}};
    for (const auto& [row, colour] : rows) {
        SCOPED_TRACE(std::wstring(row->Text()));
        ASSERT_GT(item_rect(host.tree(), row->handle(), true).bottom, 0);
        EXPECT_EQ(at(swatch(row).centre()), colour);
    }
    for (const wchar_t* text : {L"Few", L"A great many people"}) EXPECT_GT(label_ink(text), 0);
}
