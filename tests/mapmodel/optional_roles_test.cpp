// The optional roles: classes of a renderer hidden (IClassVisibility), layers drawn only within
// their scale range (IScaleRange), the scale of the map's view (IMapScale) and the features
// counted per class (IClassCounts).
#include "fixture.h"
#include <cmath>
#include "com/variant.h"
#include "common/registration.h"

using namespace mm;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

ComPtr<ISymbol> fill(COLORREF c) {
    auto s = create<IFillSymbol>(CLSID_SolidFillSymbol);
    s->putref_Color(rgb(c).get());
    s->putref_Outline(nullptr);
    return s.as<ISymbol>();
}

com::Variant text(const wchar_t* v) { return com::Variant::from_string(v); }

// Four squares side by side over 0..100 x 0..25, one per value given.
ComPtr<IFeatureClass> four_squares(const com::Variant (&values)[4]) {
    auto features = create<IFeatureClass>(CLSID_FeatureClass);
    features->put_ShapeType(GeometryPolygon);
    for (long i = 0; i < 4; ++i)
        features->AddFeature(envelope(i * 25.0, 0, i * 25.0 + 25, 25).as<IGeometry>().get(), *values[i].get());
    return features;
}

ComPtr<IFeatureRendering> feature_layer(IFeatureClass* features, IUnknown* renderer) {
    auto layer = create<IFeatureRendering>(CLSID_FeatureLayer);
    layer->putref_FeatureClass(features);
    layer->putref_Renderer(ComPtr<IUnknown>(renderer).as<IFeatureRenderer>().get());
    return layer;
}

// Unique values "a" (red) and "b" (green); every other value is the default class (blue).
ComPtr<IUniqueValueRenderer> unique_ab() {
    auto r = create<IUniqueValueRenderer>(CLSID_UniqueValueRenderer);
    r->AddValue(com::Bstr(L"a").get(), com::Bstr(L"A").get(), fill(RGB(255, 0, 0)).get());
    r->AddValue(com::Bstr(L"b").get(), com::Bstr(L"B").get(), fill(RGB(0, 255, 0)).get());
    r->putref_DefaultSymbol(fill(RGB(0, 0, 255)).get());
    return r;
}

// Breaks at 10 (red) and 20 (green).
ComPtr<IClassBreaksRenderer> breaks_10_20() {
    auto r = create<IClassBreaksRenderer>(CLSID_ClassBreaksRenderer);
    r->put_BreakCount(2);
    r->put_Break(0, 10);
    r->put_Break(1, 20);
    r->putref_Symbol(0, fill(RGB(255, 0, 0)).get());
    r->putref_Symbol(1, fill(RGB(0, 255, 0)).get());
    return r;
}

ComPtr<IMap> map_over(IUnknown* layer, double width = 100, double height = 25) {
    auto map = create<IMap>(CLSID_Map);
    map.as<IMapView>()->putref_Extent(envelope(0, 0, width, height).get());
    map->AddLayer(ComPtr<IUnknown>(layer).as<ILayer>().get());
    return map;
}

// The colours at the middles of the four squares, drawn 100 x 25 pixels.
std::vector<COLORREF> colours(IMap* map) {
    WhiteBitmap bmp(100, 25);
    EXPECT_EQ(ComPtr<IMap>(map).as<IMapView>()->Output(reinterpret_cast<LONG_PTR>(bmp.dc()), 100, 25), S_OK)
        << com::narrow(last_error());
    return {bmp.pixel(12, 12), bmp.pixel(37, 12), bmp.pixel(62, 12), bmp.pixel(87, 12)};
}

void hide(IUnknown* renderer, long index) {
    ASSERT_EQ(ComPtr<IUnknown>(renderer).as<IClassVisibility>()->put_ClassVisible(index, VARIANT_FALSE), S_OK)
        << com::narrow(last_error());
}

long class_count(IUnknown* layer, long index) {
    long n = -1;
    EXPECT_EQ(ComPtr<IUnknown>(layer).as<IClassCounts>()->get_ClassFeatureCount(index, &n), S_OK) << com::narrow(last_error());
    return n;
}

// A window whose client area is width x height pixels.
struct Window {
    HWND hwnd;
    Window(long width, long height)
        : hwnd(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr)) {}
    ~Window() { DestroyWindow(hwnd); }
};

}  // namespace

TEST(ClassVisibility, IndicesCountTheRenderersClassesAndOthersAreRefused) {
    auto raster_unique = create<IRasterUniqueValueRenderer>(CLSID_RasterUniqueValueRenderer);
    raster_unique->put_ClassCount(3);
    auto classify = create<IRasterClassifyRenderer>(CLSID_RasterClassifyRenderer);
    classify->put_ClassCount(3);
    auto breaks = breaks_10_20();
    breaks->put_BreakCount(3);
    struct Case {
        const char* name;
        ComPtr<IUnknown> renderer;
    } cases[] = {{"unique values (a, b, the default)", unique_ab().as<IUnknown>()},
                 {"class breaks", breaks.as<IUnknown>()},
                 {"raster unique values", raster_unique.as<IUnknown>()},
                 {"raster classify", classify.as<IUnknown>()}};
    for (const Case& c : cases) {
        auto v = c.renderer.as<IClassVisibility>();
        VARIANT_BOOL shown = VARIANT_FALSE;
        for (long i = 0; i < 3; ++i) {
            ASSERT_EQ(v->get_ClassVisible(i, &shown), S_OK) << c.name;
            EXPECT_EQ(shown, VARIANT_TRUE) << c.name << ": every class is shown until hidden";
        }
        ASSERT_EQ(v->put_ClassVisible(2, VARIANT_FALSE), S_OK) << c.name;
        v->get_ClassVisible(2, &shown);
        EXPECT_EQ(shown, VARIANT_FALSE) << c.name;
        for (long wrong : {3L, -1L}) {
            EXPECT_EQ(v->put_ClassVisible(wrong, VARIANT_FALSE), E_INVALIDARG) << c.name;
            EXPECT_EQ(last_error(), L"Class " + std::to_wstring(wrong) + L" is out of range: the renderer's classes are 0 to 2")
                << c.name;
            EXPECT_EQ(v->get_ClassVisible(wrong, &shown), E_INVALIDARG) << c.name;
        }
    }

    // A unique value's class is hidden with its value, wherever the value moves.
    auto unique = unique_ab();
    hide(unique.get(), 1);
    unique->RemoveValue(com::Bstr(L"a").get());
    VARIANT_BOOL shown = VARIANT_TRUE;
    unique.as<IClassVisibility>()->get_ClassVisible(0, &shown);
    EXPECT_EQ(shown, VARIANT_FALSE) << "\"b\" is now class 0, still hidden";
    unique.as<IClassVisibility>()->get_ClassVisible(1, &shown);
    EXPECT_EQ(shown, VARIANT_TRUE) << "the default class";
}

TEST(ClassVisibility, TheMapDrawsNoFeatureOfAHiddenClass) {
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    auto unique = unique_ab();
    auto by_value = map_over(feature_layer(four_squares({text(L"a"), text(L"b"), text(L"c"), com::Variant()}).get(),
                                           unique.get()).get());
    EXPECT_EQ(colours(by_value.get()), (std::vector<COLORREF>{red, green, blue, blue}));
    hide(unique.get(), 2);
    EXPECT_EQ(colours(by_value.get()), (std::vector<COLORREF>{red, green, kWhite, kWhite})) << "the default class hidden";
    hide(unique.get(), 0);
    EXPECT_EQ(colours(by_value.get()), (std::vector<COLORREF>{kWhite, green, kWhite, kWhite}));

    auto breaks = breaks_10_20();
    auto by_number = map_over(feature_layer(four_squares({com::Variant::from_double(5), com::Variant::from_double(15),
                                                          com::Variant::from_double(10), com::Variant::from_double(30)})
                                                .get(),
                                            breaks.get())
                                  .get());
    hide(breaks.get(), 0);
    EXPECT_EQ(colours(by_number.get()), (std::vector<COLORREF>{kWhite, green, kWhite, kWhite}));

    // Raster cells: values 1, 2, 3, 4 in four columns.
    auto raster = create<IRasterLayer>(CLSID_RasterLayer);
    raster->SetSize(4, 1, 1);
    raster->putref_Extent(envelope(0, 0, 100, 25).get());
    for (long c = 0; c < 4; ++c) raster->put_CellValue(0, c, 0, c + 1.0);
    auto cells = map_over(raster.get());
    auto raster_unique = create<IRasterUniqueValueRenderer>(CLSID_RasterUniqueValueRenderer);
    raster_unique->put_ClassCount(2);
    raster_unique->AddValue(0, 1, com::Bstr(L"one").get(), fill(red).get());
    raster_unique->AddValue(0, 2, com::Bstr(L"two").get(), fill(red).get());
    raster_unique->AddValue(1, 3, com::Bstr(L"three").get(), fill(green).get());
    raster->putref_Renderer(raster_unique.as<IRasterRenderer>().get());
    hide(raster_unique.get(), 0);
    EXPECT_EQ(colours(cells.get()), (std::vector<COLORREF>{kWhite, kWhite, green, kWhite})) << "a class's every value";
    auto classify = create<IRasterClassifyRenderer>(CLSID_RasterClassifyRenderer);
    classify->put_ClassCount(2);
    classify->put_Break(0, 2);
    classify->put_Break(1, 4);
    classify->putref_Symbol(0, fill(red).get());
    classify->putref_Symbol(1, fill(green).get());
    raster->putref_Renderer(classify.as<IRasterRenderer>().get());
    hide(classify.get(), 1);
    EXPECT_EQ(colours(cells.get()), (std::vector<COLORREF>{red, red, kWhite, kWhite}));
}

TEST(ScaleRange, RangesOpenAtEitherEndAndAGroupsRangeOverItsMembers) {
    // 100 m over 100 pixels at 96 dpi: 1 m to the pixel, 1:3779.5.
    auto simple = create<ISimpleRenderer>(CLSID_SimpleRenderer);
    simple->putref_Symbol(fill(RGB(255, 0, 0)).get());
    auto square = feature_layer(four_squares({text(L"x"), text(L"x"), text(L"x"), text(L"x")}).get(), simple.get());
    auto group = create<IGroupLayer>(CLSID_GroupLayer);
    group->Add(square.as<ILayer>().get());
    auto map = map_over(group.get());
    map.as<IMapScale>()->put_Units(com::Bstr(L"meters").get());
    auto layer = square.as<IScaleRange>(), outer = group.as<IScaleRange>();

    struct Case {
        double min, max;  // of the layer
        double group_min, group_max;
        bool drawn;
    } cases[] = {
        {0, 0, 0, 0, true},          {5000, 0, 0, 0, true},   {3000, 0, 0, 0, false},  {0, 3000, 0, 0, true},
        {0, 4000, 0, 0, false},      {5000, 3000, 0, 0, true}, {0, 0, 3000, 0, false}, {0, 0, 0, 4000, false},
        {5000, 3000, 5000, 3500, true},
    };
    for (const Case& c : cases) {
        for (auto [range, min, max] : {std::tuple{layer, c.min, c.max}, std::tuple{outer, c.group_min, c.group_max}}) {
            range->put_MaximumScale(0);
            ASSERT_EQ(range->put_MinimumScale(min), S_OK);
            ASSERT_EQ(range->put_MaximumScale(max), S_OK);
        }
        EXPECT_EQ(colours(map.get())[0], c.drawn ? RGB(255, 0, 0) : kWhite)
            << "layer 1:" << c.min << "-1:" << c.max << ", group 1:" << c.group_min << "-1:" << c.group_max;
    }

    // The wrong way round is refused, from either end, and changes nothing.
    ASSERT_EQ(layer->put_MinimumScale(5000), S_OK);
    ASSERT_EQ(layer->put_MaximumScale(1000), S_OK);
    EXPECT_EQ(layer->put_MaximumScale(6000), E_INVALIDARG);
    EXPECT_EQ(last_error(), L"The minimum scale 1:5000 is below the maximum scale 1:6000: the minimum scale is the "
                            L"zoomed-out limit, the larger denominator");
    EXPECT_EQ(layer->put_MinimumScale(500), E_INVALIDARG);
    EXPECT_EQ(layer->put_MinimumScale(-1), E_INVALIDARG);
    double min = 0, max = 0;
    layer->get_MinimumScale(&min);
    layer->get_MaximumScale(&max);
    EXPECT_EQ(min, 5000);
    EXPECT_EQ(max, 1000);

    // Without units the map has no scale, and every layer is drawn.
    ASSERT_EQ(layer->put_MaximumScale(0), S_OK);
    ASSERT_EQ(layer->put_MinimumScale(10), S_OK);
    map.as<IMapScale>()->put_Units(com::Bstr(L"").get());
    EXPECT_EQ(colours(map.get())[0], RGB(255, 0, 0));
}

TEST(MapScale, TheScaleFollowsTheExtentTheWindowAndTheUnits) {
    auto map = create<IMap>(CLSID_Map);
    auto view = map.as<IMapView>();
    auto scale = map.as<IMapScale>();
    Window window(200, 100);
    view->put_Window(reinterpret_cast<LONG_PTR>(window.hwnd));
    double s = 0;

    // Units not known: no scale.
    view->putref_Extent(envelope(0, 0, 1000, 500).get());
    EXPECT_EQ(scale->get_Scale(&s), E_FAIL);
    EXPECT_NE(last_error().find(L"The map has no scale: its units are not known"), std::wstring::npos) << com::narrow(last_error());

    // 1000 m over 200 pixels: 5 m to the pixel, a pixel 0.0254 / 96 m.
    ASSERT_EQ(scale->put_Units(com::Bstr(L"meters").get()), S_OK);
    ASSERT_EQ(scale->get_Scale(&s), S_OK) << com::narrow(last_error());
    EXPECT_NEAR(s, 18897.6378, 1e-3);

    // 20 degrees of longitude over 200 pixels at latitude 45, on a sphere of 6,378,137 m.
    ASSERT_EQ(scale->put_Units(com::Bstr(L"degrees").get()), S_OK);
    view->putref_Extent(envelope(-10, 40, 10, 50).get());
    ASSERT_EQ(scale->get_Scale(&s), S_OK);
    EXPECT_NEAR(s, 29750463.05, 0.1);
    view->putref_Extent(envelope(-10, 85, 10, 95).get());
    double polar = 0;
    scale->get_Scale(&polar);
    EXPECT_NEAR(polar, 29750463.05 * std::cos(85 * std::acos(-1.0) / 180) / std::cos(std::acos(-1.0) / 4), 0.1)
        << "measured at 85 degrees at most";

    EXPECT_EQ(scale->put_Units(com::Bstr(L"feet").get()), E_INVALIDARG);

    // A map of layers read from data files is in degrees until told otherwise.
    auto file = create<IDataFile>(CLSID_DataFile);
    ASSERT_EQ(file->Open(com::Bstr(test::program_dir() + L"\\land-110m.json").get()), S_OK) << com::narrow(last_error());
    ComPtr<ILayer> land;
    file->get_Layer(0, land.put());
    auto world = create<IMap>(CLSID_Map);
    world->AddLayer(land.get());
    com::Bstr units;
    world.as<IMapScale>()->get_Units(units.put());
    EXPECT_EQ(units.str(), L"degrees");
    world->AddLayer(plain_layer(L"Plain").get());
    world.as<IMapScale>()->get_Units(units.put());
    EXPECT_EQ(units.str(), L"degrees") << "a layer without data does not matter";
    view->put_Window(0);
}

TEST(ClassCounts, EveryClassIsCountedInOnePassAndFollowsChanges) {
    auto features = four_squares({text(L"a"), text(L"b"), text(L"a"), text(L"z")});
    auto unique = unique_ab();
    auto layer = feature_layer(features.get(), unique.get());
    EXPECT_EQ(class_count(layer.get(), 0), 2);
    EXPECT_EQ(class_count(layer.get(), 1), 1);
    EXPECT_EQ(class_count(layer.get(), 2), 1) << "the default class";
    long n = 0;
    EXPECT_EQ(layer.as<IClassCounts>()->get_ClassFeatureCount(3, &n), E_INVALIDARG);
    EXPECT_EQ(last_error(), L"Class 3 is out of range: the renderer's classes are 0 to 2");

    // Counted once: a second question costs one call.
    auto info = create<IModelInfo>(CLSID_ModelInfo);
    info->FailCall(0, 0);
    class_count(layer.get(), 1);
    info->get_Calls(&n);
    EXPECT_EQ(n, 1);

    // The counts follow the features, the renderer's classes and the renderer.
    features->AddFeature(envelope(0, 0, 1, 1).as<IGeometry>().get(), *text(L"b").get());
    EXPECT_EQ(class_count(layer.get(), 1), 2);
    unique->AddValue(com::Bstr(L"z").get(), com::Bstr(L"Z").get(), nullptr);
    EXPECT_EQ(class_count(layer.get(), 2), 1) << "\"z\" has its own class now";
    EXPECT_EQ(class_count(layer.get(), 3), 0);
    long field = -1;
    features->AddField(com::Bstr(L"n").get(), &field);
    const double numbers[] = {5, 15, 10, 30, 20};
    for (long i = 0; i < 5; ++i) features->put_Attribute(i, field, *com::Variant::from_double(numbers[i]).get());
    auto breaks = breaks_10_20();
    breaks->put_Field(com::Bstr(L"n").get());
    layer->putref_Renderer(breaks.as<IFeatureRenderer>().get());
    EXPECT_EQ(class_count(layer.get(), 0), 2);
    EXPECT_EQ(class_count(layer.get(), 1), 2) << "30 is above the last break: in no class";
    features->put_Attribute(3, field, *com::Variant::from_double(12).get());
    EXPECT_EQ(class_count(layer.get(), 1), 3);
    layer.as<IClassCounts>()->get_FeatureCount(&n);
    EXPECT_EQ(n, 5);
}
