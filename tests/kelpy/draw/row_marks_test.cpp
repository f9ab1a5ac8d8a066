// Rows of layers the map does not draw at its scale (ShowScaleRanges) and the features counted
// per row (ShowFeatureCounts), on a hosted control: the state of the rows, their pixels, tips and
// descriptions, what repaints when the scale changes, and when counts are asked for.
#include "com/bstr.h"
#include "com/variant.h"
#include "kelpy/common/canvas.h"
#include "kelpy/draw/draw_fixture.h"
#include "kelpy/draw/row_marks.h"
#include "kelpy/model/items.h"
#include "user_input.h"

using namespace test;
using kelpy::draw::count_none;
using kelpy::draw::count_pending;
using kelpy::draw::count_unknown;

namespace {

com::ComPtr<ILayer> ranged(com::ComPtr<ILayer> layer, double minimum, double maximum) {
    auto range = layer.as<IScaleRange>();
    com::check(range->put_MinimumScale(minimum));
    com::check(range->put_MaximumScale(maximum));
    return layer;
}

class RowMarks : public Drawing {
protected:
    com::ComPtr<_TOC3> toc3() { return com::ComPtr<_TOC>(host.api()).as<_TOC3>(); }
    kelpy::TocNode& record(std::wstring_view text) { return *kelpy::RecordOf(item(text)).get(); }
    // The tip the tree asks for when the pointer rests on the item.
    std::wstring tip(const kelpy::NodePtr& node) {
        return static_cast<kelpy::platform::TreeViewEvents&>(host.toc().interaction()).TipText(node);
    }

    // The tree painted into a canvas as it paints the screen.
    std::unique_ptr<Canvas> paint() {
        RECT client{};
        GetClientRect(host.tree(), &client);
        auto canvas = std::make_unique<Canvas>(client.right, client.bottom);
        SendMessageW(host.tree(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT | PRF_ERASEBKGND);
        return canvas;
    }
    RECT label(std::wstring_view text) { return item_rect(host.tree(), item(text)->handle(), true); }
    // The inked pixels of a label, as a mask.
    std::vector<bool> mask(const Canvas& canvas, const RECT& r) {
        std::vector<bool> ink;
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right + 8; ++x) ink.push_back(canvas.pixel(x, y) != RGB(255, 255, 255));
        return ink;
    }
};

// A layer out of its own range and the members of a group out of the group's: greyed italic
// labels, the tip and the description saying why; a layer within range is unchanged. The scale
// is the host's (the map has no window, so no scale of its own).
TEST_F(RowMarks, LayersOutOfRangeShowGreyedAndItalicWithWhy) {
    show({ranged(feature_layer(L"Coast"), 50000, 0), feature_layer(L"Roads"),
          ranged(group_layer(L"Detail", {feature_layer(L"Rivers")}), 0, 1000)});
    const RECT coast = label(L"Coast");
    auto before = paint();
    const std::vector<bool> upright = mask(*before, coast);

    ASSERT_EQ(toc3()->put_ShowScaleRanges(VARIANT_TRUE), S_OK);
    EXPECT_FALSE(record(L"Coast").OutOfScale);  // no scale yet: nothing greyed
    ASSERT_EQ(toc3()->put_MapScale(263456789.0), S_OK);
    EXPECT_TRUE(record(L"Coast").OutOfScale);
    EXPECT_FALSE(record(L"Roads").OutOfScale);
    EXPECT_FALSE(record(L"Detail").OutOfScale);
    ASSERT_EQ(toc3()->put_MapScale(500.0), S_OK);  // below the group's maximum
    EXPECT_FALSE(record(L"Coast").OutOfScale);
    EXPECT_TRUE(record(L"Detail").OutOfScale);
    EXPECT_TRUE(record(L"Rivers").OutOfScale);
    EXPECT_EQ(tip(item(L"Rivers")),
              L"Not drawn at this scale (1:500); drawn from any to 1:1,000");

    ASSERT_EQ(toc3()->put_MapScale(263456789.0), S_OK);
    EXPECT_EQ(tip(item(L"Coast")),
              L"Not drawn at this scale (1:263,000,000); drawn from 1:50,000 to any");
    EXPECT_EQ(kelpy::draw::RowDescription(record(L"Coast")),
              L"Not drawn at this scale (1:263,000,000); drawn from 1:50,000 to any");
    auto after = paint();
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(after->count(coast, grey), 0);
    EXPECT_EQ(after->count(coast, RGB(0, 0, 0)), 0);
    EXPECT_NE(mask(*after, coast), upright);  // slanted, not the upright shapes in grey
    EXPECT_GT(after->count(label(L"Roads"), RGB(0, 0, 0)), 0);
    EXPECT_EQ(after->count(label(L"Roads"), grey), before->count(label(L"Roads"), grey));
    EXPECT_EQ(toc3()->put_MapScale(-1), E_INVALIDARG);
}

// The map's own scale, from its extent and window: a change of extent repaints the rows whose
// state changed, and only them, without a rebuild.
TEST_F(RowMarks, AnExtentChangeRepaintsOnlyTheRowsThatChangedWithoutRebuilding) {
    auto map = make_map(L"World", {ranged(feature_layer(L"Coast"), 50000, 0), feature_layer(L"Roads")});
    auto view = map.as<IMapView>();
    ASSERT_EQ(view->put_Window(reinterpret_cast<LONG_PTR>(host.tree())), S_OK);
    ASSERT_EQ(map.as<IMapScale>()->put_Units(com::Bstr(L"meters").get()), S_OK);
    auto extent = com::ComPtr<IEnvelope>::create(CLSID_Envelope);
    ASSERT_EQ(extent->PutCoords(0, 0, 10, 10), S_OK);
    ASSERT_EQ(view->putref_Extent(extent.get()), S_OK);
    ASSERT_EQ(host.initialize(map.get()), S_OK);
    ASSERT_EQ(toc3()->put_ShowScaleRanges(VARIANT_TRUE), S_OK);
    EXPECT_FALSE(record(L"Coast").OutOfScale);

    const unsigned long clears = nodes().clears();
    ValidateRect(host.tree(), nullptr);
    ASSERT_EQ(extent->PutCoords(0, 0, 1e6, 1e6), S_OK);
    ASSERT_EQ(view->putref_Extent(extent.get()), S_OK);  // ExtentChanged
    EXPECT_TRUE(record(L"Coast").OutOfScale);
    EXPECT_EQ(nodes().clears(), clears);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(host.tree(), &update, FALSE));
    const RECT row = item_rect(host.tree(), item(L"Coast")->handle(), false);
    EXPECT_EQ(update.top, row.top);
    EXPECT_EQ(update.bottom, row.bottom);

    // A change of the scale without an extent change (here the units; a resize alike) shows at
    // the map's next redraw.
    ASSERT_EQ(extent->PutCoords(0, 0, 10, 10), S_OK);
    ASSERT_EQ(view->putref_Extent(extent.get()), S_OK);
    EXPECT_FALSE(record(L"Coast").OutOfScale);
    ASSERT_EQ(map.as<IMapScale>()->put_Units(com::Bstr(L"degrees").get()), S_OK);
    ASSERT_EQ(view->Refresh(), S_OK);  // ViewRefreshed
    EXPECT_TRUE(record(L"Coast").OutOfScale);
    EXPECT_EQ(nodes().clears(), clears);
}

// Counts: asked for after the paint that first shows a row, shown from the next paint on,
// following the map's contents; a layer that does not count shows none.
TEST_F(RowMarks, CountsComeAfterThePaintAndFollowTheContents) {
    auto renderer = unique_value_renderer(L"kind", {{L"a", L"A", solid_fill(RGB(255, 0, 0))},
                                                    {L"b", L"B", solid_fill(RGB(0, 0, 255))}});
    com::check(renderer.as<IUniqueValueRenderer>()->putref_DefaultSymbol(solid_fill(RGB(0, 255, 0)).get()));
    auto roads = rendered_feature_layer(L"Roads", GeometryPoint, renderer);
    com::ComPtr<IFeatureClass> features;
    com::check(roads.as<IFeatureLayer>()->get_FeatureClass(features.put()));
    auto add = [&](const wchar_t* value) {
        auto point = com::ComPtr<IPoint>::create(CLSID_Point);
        com::check(point->PutCoords(1, 1));
        com::check(features->AddFeature(point.as<IGeometry>().get(), *com::Variant::from_string(value).get()));
    };
    for (const wchar_t* v : {L"a", L"a", L"b", L"c"}) add(v);  // "c": the default class
    show({roads, rendered_raster_layer(L"Photo", rgb_renderer())});
    ASSERT_EQ(toc3()->put_ShowFeatureCounts(VARIANT_TRUE), S_OK);
    EXPECT_EQ(record(L"Roads").FeatureCount, count_unknown);

    paint();
    EXPECT_EQ(record(L"Roads").FeatureCount, count_pending);  // noted, not asked, in the paint
    host::pump_messages(50);
    EXPECT_EQ(record(L"Roads").FeatureCount, 4);
    EXPECT_EQ(record(L"A").FeatureCount, 2);
    EXPECT_EQ(record(L"B").FeatureCount, 1);
    EXPECT_EQ(record(L"Photo").FeatureCount, count_none);
    EXPECT_EQ(item(L"Roads")->Text(), L"Roads");
    EXPECT_EQ(kelpy::draw::RowDescription(record(L"Roads")), L"4 features");

    // Drawn after the label, in the lighter colour; nothing after a layer that does not count.
    auto canvas = paint();
    auto beyond = [&](std::wstring_view text) {
        RECT r = label(text);
        return RECT{r.right, r.top, r.right + 40, r.bottom};
    };
    EXPECT_GT(canvas->count(beyond(L"Roads"), GetSysColor(COLOR_GRAYTEXT)), 0);
    EXPECT_GT(canvas->count(beyond(L"A"), GetSysColor(COLOR_GRAYTEXT)), 0);
    EXPECT_EQ(canvas->ink(beyond(L"Photo")), 0);

    add(L"a");
    ASSERT_EQ(host.toc().MapContentsChanged(), S_OK);
    EXPECT_EQ(record(L"A").FeatureCount, count_unknown);
    paint();
    host::pump_messages(50);
    EXPECT_EQ(record(L"A").FeatureCount, 3);
    EXPECT_EQ(record(L"Roads").FeatureCount, 5);
}

}  // namespace
