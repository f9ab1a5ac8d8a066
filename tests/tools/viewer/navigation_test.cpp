// Moving about the map in the viewer's map pane: the wheel zooms around the pointer, + and − around
// the centre, a drag with the left or the middle button pans; the status bar shows the map's
// scale; the world's fine coastline appears once zoomed in far enough.
#include "viewer_fixture.h"
#include <cmath>
#include "com/bstr.h"
#include "common/registration.h"
#include "layer_extent.h"
#include "user_input.h"

using namespace test;

namespace {

struct World {
    double x, y;
};

class NavigationTest : public ViewerTest {
protected:
    SIZE pane() const {
        RECT c{};
        GetClientRect(viewer->map_window(), &c);
        return {c.right, c.bottom};
    }
    POINT on_screen(POINT client) const {
        ClientToScreen(viewer->map_window(), &client);
        return client;
    }
    viewer::Extent extent() const {
        com::ComPtr<IEnvelope> e;
        com::check(viewer->Map().as<IMapView>()->get_Extent(e.put()));
        return *viewer::extent_of(e.get());
    }
    // Map units per pixel: the view widens its extent to the pane's proportions around its centre.
    double unit() const {
        const viewer::Extent e = extent();
        return std::max((e.xmax - e.xmin) / pane().cx, (e.ymax - e.ymin) / pane().cy);
    }
    // The map point shown at a point of the pane.
    World under(POINT p) const {
        const viewer::Extent e = extent();
        const double u = unit();
        return {(e.xmin + e.xmax) / 2 + (p.x - pane().cx / 2.0) * u, (e.ymin + e.ymax) / 2 - (p.y - pane().cy / 2.0) * u};
    }
    void expect_under(POINT p, World w) const {
        const World now = under(p);
        EXPECT_NEAR(now.x, w.x, unit() * 1e-6);
        EXPECT_NEAR(now.y, w.y, unit() * 1e-6);
    }
    void put_extent(double xmin, double ymin, double xmax, double ymax) {
        auto e = com::ComPtr<IEnvelope>::create(CLSID_Envelope);
        com::check(e->PutCoords(xmin, ymin, xmax, ymax));
        com::check(viewer->Map().as<IMapView>()->putref_Extent(e.get()));
        host::pump_messages();
    }
    double scale() const {
        double s = 0;
        com::check(viewer->Map().as<IMapScale>()->get_Scale(&s));
        return s;
    }
};

// "1:" and the number in groups of three, as the user's locale separates them.
std::wstring scale_text(double denominator) {
    wchar_t separator[8] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    std::wstring digits = std::to_wstring(std::llround(denominator));
    for (size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, separator);
    return L"1:" + digits;
}

int screen_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST_F(NavigationTest, TheWheelZoomsAroundThePointer) {
    open(sample);
    const POINT p{pane().cx / 4, pane().cy / 3};
    const World before = under(p);
    const double u = unit();
    host::move_mouse(on_screen(p));
    host::turn_wheel(2);  // in, by a quarter a notch
    EXPECT_NEAR(unit(), u / (1.25 * 1.25), u * 1e-9);
    expect_under(p, before);
    EXPECT_TRUE(same(shown(), drawn()));
    EXPECT_TRUE(viewer->Modified());
    host::turn_wheel(-3);
    EXPECT_NEAR(unit(), u * 1.25, u * 1e-9);
    expect_under(p, before);
}

TEST_F(NavigationTest, PlusAndMinusZoomAroundTheCentreOnceThePaneHasTheFocus) {
    open(sample);
    const POINT centre{pane().cx / 2, pane().cy / 2};
    const World middle = under(centre);
    const viewer::Extent before = extent();
    host::click(on_screen(centre));
    EXPECT_EQ(GetFocus(), viewer->map_window());
    EXPECT_TRUE(extent() == before) << "a click does not move the map";
    EXPECT_FALSE(viewer->Modified());
    const struct {
        WORD key;
        double factor;
    } keys[] = {{VK_ADD, 2}, {VK_OEM_PLUS, 2}, {VK_SUBTRACT, 0.5}, {VK_OEM_MINUS, 0.5}};
    for (const auto& k : keys) {
        const double u = unit();
        host::press_key(k.key);
        EXPECT_NEAR(unit(), u / k.factor, u * 1e-9) << k.key;
        expect_under(centre, middle);
    }
    EXPECT_TRUE(same(shown(), drawn()));
}

TEST_F(NavigationTest, DraggingPansByTheDistanceDraggedUntilReleaseOrCaptureLoss) {
    open(sample);
    const POINT from{pane().cx / 2, pane().cy / 2}, to{from.x + 60, from.y - 40};
    const World start = under(from);
    host::drag(on_screen(from), on_screen(to));
    expect_under(to, start);
    EXPECT_TRUE(same(shown(), drawn()));
    EXPECT_TRUE(viewer->Modified());
    host::drag(on_screen(to), on_screen(from), 3, host::Button::Middle);
    expect_under(from, start);

    // The capture taken away ends the drag where it was.
    const POINT mid{from.x - 30, from.y + 20}, beyond{from.x - 90, from.y + 70};
    host::move_mouse(on_screen(from));
    host::press(host::Button::Left);
    host::move_mouse(on_screen(mid));
    ReleaseCapture();
    host::move_mouse(on_screen(beyond));
    host::release(host::Button::Left);
    expect_under(mid, start);
}

TEST_F(NavigationTest, StatusBarShowsTheScaleOfTheExtentAndTheWindow) {
    open(sample);
    EXPECT_EQ(status(viewer::StatusScale), L"") << "the sample's units are not known";

    // 100 m to a pixel: 1 to 100 m over the width of a pixel, 0.0254 m / dpi.
    ASSERT_EQ(viewer->Map().as<IMapScale>()->put_Units(com::Bstr(L"meters").get()), S_OK);
    const SIZE window = pane();
    put_extent(0, 0, window.cx * 100.0, window.cy * 100.0);
    const double dpi = screen_dpi();
    EXPECT_EQ(status(viewer::StatusScale), scale_text(100 * dpi / 0.0254));

    // A narrower window shows the same extent at a smaller scale (a larger denominator).
    RECT frame{};
    GetWindowRect(viewer->window(), &frame);
    SetWindowPos(viewer->window(), nullptr, 0, 0, frame.right - frame.left - 100, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host::pump_messages();
    ASSERT_EQ(pane().cx, window.cx - 100);
    EXPECT_EQ(status(viewer::StatusScale), scale_text(100.0 * window.cx / pane().cx * dpi / 0.0254));
}

TEST_F(NavigationTest, TheWorldsFineCoastlineShowsOnceZoomedIn) {
    open(program_dir() + L"\\world.json");
    ASSERT_TRUE(prompts.errors.empty()) << com::narrow(prompts.errors.front());
    const DWORD coast = 0x1F4E79;
    EXPECT_GT(scale(), 80e6);
    EXPECT_EQ(status(viewer::StatusScale), scale_text(scale()));
    EXPECT_EQ(count(shown(), coast), 0u);
    host::click(on_screen({pane().cx / 2, pane().cy / 2}));
    for (int i = 0; i < 6 && scale() > 80e6; ++i) host::press_key(VK_ADD);
    EXPECT_LT(scale(), 80e6);
    EXPECT_EQ(status(viewer::StatusScale), scale_text(scale()));
    EXPECT_GT(count(shown(), coast), 100u);
    EXPECT_TRUE(same(shown(), drawn()));
}

}  // namespace
