// Repaints of legend rows from the swatches painted lately: the same pixels as drawing them, a
// row drawn anew when its symbol or size changed, once it has been pushed out by more recently
// painted rows, and after a rebuild when its symbol's settings changed; a symbol that hands over
// no likeness of its own (a host's, or a host's wrapper around a model symbol) at every paint.
#include <algorithm>
#include <memory>
#include <vector>
#include "kelpy/common/canvas.h"
#include "kelpy/draw/draw_fixture.h"
#include "kelpy/model/items.h"

using namespace test;

namespace {

int draws(const com::ComPtr<FakeSymbol>& symbol) { return int(std::count(symbol->calls.begin(), symbol->calls.end(), L"Draw")); }

class SwatchCache : public Drawing {
protected:
    // The hosted tree painted into a new canvas of its client size, as the screen paints it.
    std::unique_ptr<Canvas> paint() {
        RECT client{};
        GetClientRect(host.tree(), &client);
        auto canvas = std::make_unique<Canvas>(client.right, client.bottom);
        SendMessageW(host.tree(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT | PRF_ERASEBKGND);
        return canvas;
    }
    static bool same_pixels(const Canvas& a, const Canvas& b) {
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) return false;
        return true;
    }
};

}  // namespace

TEST_F(SwatchCache, RepaintsCopyThePixelsTheSymbolsPaintedUntilARowsSymbolOrSizeChanges) {
    // Lake and river hand over likenesses as the model's symbols do; the pond's is a host's.
    auto lake = FakeSymbol::make(), river = FakeSymbol::make(), pond = FakeSymbol::make();
    lake->likeness = {{1}};
    river->likeness = {{2}};
    lake->paint = RGB(0, 0, 200);
    river->paint = RGB(0, 160, 0);
    show({rendered_feature_layer(L"Water", GeometryPolygon,
                                 unique_value_renderer(L"KIND", {{L"L", L"Lake", lake.get()}, {L"R", L"River", river.get()},
                                                                 {L"P", L"Pond", pond.get()}})),
          rendered_raster_layer(L"Photo", rgb_renderer())});
    auto first = paint();
    ASSERT_EQ(draws(lake), 1);
    ASSERT_EQ(draws(pond), 1);
    ASSERT_GT(first->count(RECT{0, 0, first->width(), first->height()}, RGB(0, 0, 200)), 0);

    auto again = paint();
    EXPECT_EQ(draws(lake), 1);
    EXPECT_EQ(draws(river), 1);
    EXPECT_EQ(draws(pond), 2);
    EXPECT_TRUE(same_pixels(*first, *again));

    // A new symbol for a row, and a new size for another: both drawn anew, the rest copied.
    auto sea = FakeSymbol::make();
    sea->likeness = {{3}};
    sea->paint = RGB(200, 0, 0);
    kelpy::RecordOf(item(L"Lake"))->Symbol = sea.get();
    kelpy::RecordOf(item(L"River"))->SymbolWidth -= 4;
    auto changed = paint();
    EXPECT_EQ(draws(lake), 1);
    EXPECT_EQ(draws(sea), 1);
    EXPECT_EQ(draws(river), 2);
    EXPECT_EQ(changed->count(RECT{0, 0, changed->width(), changed->height()}, RGB(0, 0, 200)), 0);
    EXPECT_GT(changed->count(RECT{0, 0, changed->width(), changed->height()}, RGB(200, 0, 0)), 0);

    // After a rebuild, the swatches of the likenesses painted before are copied; the host's
    // symbol is drawn, as at every paint.
    ASSERT_EQ(host.reset(), S_OK);
    paint();
    EXPECT_EQ(draws(lake), 1);
    EXPECT_EQ(draws(river), 2);
    EXPECT_EQ(draws(pond), 4);
}

TEST_F(SwatchCache, RowsPushedOutByMoreRecentlyPaintedRowsAreDrawnAgain) {
    // More rows than the cache keeps, each painted once, in order.
    std::vector<com::ComPtr<FakeSymbol>> symbols;
    std::vector<ValueSpec> values;
    const int rows = kelpy::draw::SwatchCache::capacity + 2;
    for (int i = 0; i < rows; ++i) {
        symbols.push_back(FakeSymbol::make());
        symbols.back()->likeness = {{double(i)}};
        symbols.back()->paint = RGB(i % 200, 50, 100);
        values.push_back({L"v" + std::to_wstring(i), L"value " + std::to_wstring(i), symbols.back().get()});
    }
    show({rendered_feature_layer(L"Many", GeometryPolygon, unique_value_renderer(L"V", values))});
    Canvas canvas{240, 40};
    const auto draw = [&](int i) {
        auto rect = kelpy::CRect::create();
        rect->Left = 100;
        rect->Right = 200;
        rect->Bottom = 16;
        auto args = kelpy::CustomDrawEventArgs::create();
        kelpy::NodePtr node = item(L"value " + std::to_wstring(i));
        args->Node = com::ComPtr<IDispatch>(static_cast<IDispatch*>(node.get()));
        args->Rect = rect;
        args->hdc = reinterpret_cast<LONG_PTR>(canvas.dc());
        host.toc().painter().DrawItem(args);
    };
    for (int i = 0; i < rows; ++i) draw(i);

    draw(rows - 1);  // painted last: copied
    EXPECT_EQ(draws(symbols[rows - 1]), 1);
    draw(0);  // painted first, pushed out since: drawn again, in its own colour
    EXPECT_EQ(draws(symbols[0]), 2);
    EXPECT_EQ(canvas.pixel(77 + 5, 2 + 5), RGB(0, 50, 100));
}

TEST_F(SwatchCache, ARebuildShowsTheSameSwatchesUntilASymbolsSettingsChangeThroughTheModel) {
    constexpr COLORREF teal = RGB(0, 128, 128), rust = RGB(183, 65, 14), navy = RGB(0, 0, 128);
    com::ComPtr<ISymbol> fill = solid_fill(teal);
    com::ComPtr<IColorRamp> ramp = color_ramp(navy, RGB(255, 255, 0));
    show({rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(fill)),
          rendered_raster_layer(L"Depth", stretch_renderer(ramp))});
    const RECT all{0, 0, 10000, 10000};
    auto before = paint();
    ASSERT_GT(before->count(all, teal), 0);
    // The ramp's bands blend its ends: its low end shows as pixels near navy.
    const auto near_navy = [](const Canvas& c) {
        int n = 0;
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) {
                const COLORREF p = c.pixel(x, y);
                n += GetRValue(p) < 24 && GetGValue(p) < 24 && GetBValue(p) > 104 && GetBValue(p) < 152;
            }
        return n;
    };
    ASSERT_GT(near_navy(*before), 0);

    // Rebuilt with nothing changed: the same pixels.
    ASSERT_EQ(host.reset(), S_OK);
    EXPECT_TRUE(same_pixels(*before, *paint()));

    // The fill's colour and the ramp's low end changed in the model: the rebuild's first paint
    // shows the new colours and none of the old.
    ASSERT_EQ(fill.as<IFillSymbol>()->putref_Color(rgb_color(rust).get()), S_OK);
    ASSERT_EQ(ramp.as<IAlgorithmicColorRamp>()->putref_FromColor(rgb_color(RGB(200, 0, 0)).get()), S_OK);
    ASSERT_EQ(host.reset(), S_OK);
    auto after = paint();
    EXPECT_EQ(after->count(all, teal), 0);
    EXPECT_GT(after->count(all, rust), 0);
    EXPECT_EQ(near_navy(*after), 0);
}

// A host's symbol may paint from a setting no interface shows (here the fakes' colour), even
// when it wraps a model symbol and hands on every query it does not know: each row shows its own
// symbol's picture, and a change made in place shows after a rebuild.
TEST_F(SwatchCache, AHostsSymbolsShowTheirOwnPicturesEvenWhenTheyWrapOneModelSymbol) {
    constexpr COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 200), green = RGB(0, 160, 0);
    const com::ComPtr<ISymbol> model = solid_fill(RGB(0, 128, 128));
    auto one = FakeSymbol::make(), two = FakeSymbol::make();
    one->wrapped = model;
    two->wrapped = model;
    one->paint = red;
    two->paint = blue;
    one->boundary_height = two->boundary_height = 10;  // each swatch within its own row
    show({rendered_feature_layer(L"Zones", GeometryPolygon,
                                 unique_value_renderer(L"Z", {{L"1", L"One", one.get()}, {L"2", L"Two", two.get()}}))});
    const auto in_row = [&](const Canvas& canvas, std::wstring_view text, COLORREF color) {
        return canvas.count(item_rect(host.tree(), item(text)->handle(), false), color);
    };
    auto before = paint();
    EXPECT_GT(in_row(*before, L"One", red), 0);
    EXPECT_GT(in_row(*before, L"Two", blue), 0);
    EXPECT_EQ(in_row(*before, L"Two", red), 0);

    one->paint = green;
    ASSERT_EQ(host.reset(), S_OK);
    auto after = paint();
    EXPECT_GT(in_row(*after, L"One", green), 0);
    EXPECT_EQ(in_row(*after, L"One", red), 0);
    EXPECT_GT(in_row(*after, L"Two", blue), 0);
}
