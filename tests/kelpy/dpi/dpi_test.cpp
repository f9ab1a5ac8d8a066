// The control at the resolution of the screen it is shown on: item images drawn for their size,
// the tree's indent and rows, the drag cursors and the legend's swatches scaled from their sizes
// at 96 dpi.
//
// Wine takes the screen's resolution from the prefix (the registry value LogPixels), so these
// cases run once per resolution, each in a prefix of its own set to it (at_dpi.sh, which gives
// the resolution in KELPY_TEST_DPI); the program declares itself aware of the resolution per
// monitor, as a high-DPI host does (an unaware process is shown everything at 96 dpi). Without
// KELPY_TEST_DPI the cases are skipped.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include "app_window.h"
#include "kelpy/common/canvas.h"
#include "kelpy/draw/draw_fixture.h"
#include "kelpy/interact/drag_cursors.h"
#include "kelpy/model/items.h"
#include "kelpy/model/resource_ids.h"
#include "kelpy/platform/dpi.h"

using namespace test;

namespace {

// Before the first window: the process sees the monitor's own resolution.
const bool dpi_aware = host::declare_dpi_aware();

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF plum = RGB(142, 69, 133);

// The smallest rectangle holding every pixel of `colour` within `area`.
RECT bounds_of(const Canvas& canvas, const RECT& area, COLORREF colour) {
    RECT b{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            if (canvas.pixel(x, y) == colour) b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1), std::max(b.bottom, y + 1)};
    return b;
}

class AtDpi : public Drawing {
protected:
    kelpy::platform::Dpi px;
    std::unique_ptr<Canvas> canvas;

    void SetUp() override {
        const char* dpi = std::getenv("KELPY_TEST_DPI");
        if (!dpi) GTEST_SKIP() << "runs in a prefix set to a resolution (at_dpi.sh)";
        ASSERT_TRUE(dpi_aware);
        px = kelpy::platform::Dpi(std::atoi(dpi));
        show({rendered_feature_layer(L"Counties", GeometryPolygon,
                                     class_breaks_renderer(L"POP", {{L"Few", solid_fill(plum, false)}}))});
        RECT client{};
        GetClientRect(host.tree(), &client);
        canvas = std::make_unique<Canvas>(client.right, client.bottom);
        SendMessageW(host.tree(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT | PRF_ERASEBKGND);
    }
};

}  // namespace

TEST_F(AtDpi, ImagesIndentRowsAndCursorsAreScaledForTheWindowsResolution) {
    ASSERT_EQ(kelpy::platform::Dpi::Of(host.window()).value(), px.value()) << "the prefix's resolution";
    EXPECT_EQ(host.toc().images().width(), px(16));
    EXPECT_EQ(host.toc().images().height(), px(16));
    EXPECT_EQ(SendMessageW(host.tree(), TVM_GETINDENT, 0, 0), px(19));
    EXPECT_EQ(standard_row(), px(16));

    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(kelpy::interact::DragCursor(KELPY_CURSOR_DRAG_UP, px), &info));
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, px(32));
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST_F(AtDpi, CheckImageIsDrawnForItsSize) {
    // The check box of the layer's image: columns and rows 2 to 12 of the 16-pixel picture,
    // drawn on the size's own grid with lines one pixel thick (two from 32 pixels on).
    const int size = px(16), line = size >= 32 ? 2 : 1;
    auto at = [&](int v16) { return int(std::lround(v16 * size / 16.0)); };
    const HTREEITEM layer = item(L"Counties")->handle();
    const RECT label = item_rect(host.tree(), layer, true), row = item_rect(host.tree(), layer, false);
    const RECT image{label.left - size, row.top, label.left, row.bottom};
    const RECT box = bounds_of(*canvas, image, black);
    EXPECT_EQ(box.right - box.left, at(13) - at(2));
    EXPECT_EQ(box.bottom - box.top, at(13) - at(2));
    EXPECT_EQ(canvas->pixel(box.left + line - 1, box.top + line - 1), black);
    EXPECT_EQ(canvas->pixel(box.left + line, box.top + line), white) << "a frame thicker than its line";
    EXPECT_EQ(canvas->pixel(box.right - line, box.bottom - line - 1), black);
}

TEST_F(AtDpi, SwatchIsDrawnByTheSymbolAtTheScaledSize) {
    // Measured on a square of 18 pixels at 96 dpi, with a margin of 2 on every side; the class polygon fills the swatch but for a margin of 1 on the
    // left, 5 on the right and 10 below.
    const kelpy::NodePtr row = item(L"Few");
    const auto record = kelpy::RecordOf(row);
    const LONG W = px(18) + 2 * px(2);
    EXPECT_EQ(record->SymbolWidth, W);
    EXPECT_EQ(record->SymbolHeight, W);
    EXPECT_EQ(record->ItemHeight, px(16) * std::lround(double(W) / px(16)));

    const RECT label = item_rect(host.tree(), row->handle(), true);
    const LONG x0 = label.left - px(23), y0 = label.top + px(2);
    const RECT fill = bounds_of(*canvas, RECT{x0, y0, x0 + W, y0 + W}, plum);
    EXPECT_NEAR(fill.left - x0, px(1), 1);
    EXPECT_NEAR(fill.right - x0, W - px(5), 1);
    EXPECT_EQ(fill.top, y0);
    EXPECT_NEAR(fill.bottom - y0, W - px(10), 1);
    EXPECT_GE(canvas->count(fill, plum), (fill.right - fill.left) * (fill.bottom - fill.top) * 9 / 10);
}

TEST_F(AtDpi, ResolutionChangeRemeasuresTheLegend) {
    // Swatches measured for another resolution (as before the window moved to this monitor)
    // are measured again for the window's when it tells the control of a change.
    const kelpy::platform::Dpi other(px.value() == 96 ? 192 : 96);
    host.toc().painter().SetDpi(other);
    ASSERT_EQ(host.reset(), S_OK);
    ASSERT_EQ(kelpy::RecordOf(item(L"Few"))->SymbolWidth, other(18) + 2 * other(2));

    SendMessageW(host.window(), WM_DPICHANGED_AFTERPARENT, 0, 0);
    EXPECT_EQ(kelpy::RecordOf(item(L"Few"))->SymbolWidth, px(18) + 2 * px(2));
    EXPECT_EQ(host.toc().painter().dpi(), px);
}
