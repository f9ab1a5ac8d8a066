// The map's view: drawing every visible layer in drawing order with its renderer's symbols,
// refreshes that repaint an attached window, and the notifications they send.
#include "fixture.h"
#include "com/variant.h"

using namespace mm;

namespace {

ComPtr<ISymbol> fill(COLORREF c) {
    auto s = create<IFillSymbol>(CLSID_SolidFillSymbol);
    s->putref_Color(rgb(c).get());
    s->putref_Outline(nullptr);
    return s.as<ISymbol>();
}

// A polygon layer of one envelope drawn with one colour.
ComPtr<ILayer> square_layer(const wchar_t* name, double x0, double y0, double x1, double y1, COLORREF c) {
    auto features = create<IFeatureClass>(CLSID_FeatureClass);
    features->put_ShapeType(GeometryPolygon);
    VARIANT none;
    VariantInit(&none);
    features->AddFeature(envelope(x0, y0, x1, y1).as<IGeometry>().get(), none);
    auto renderer = create<ISimpleRenderer>(CLSID_SimpleRenderer);
    renderer->putref_Symbol(fill(c).get());
    auto layer = create<IFeatureRendering>(CLSID_FeatureLayer);
    layer->put_Name(com::Bstr(name).get());
    layer->putref_FeatureClass(features.get());
    layer->putref_Renderer(renderer.as<IFeatureRenderer>().get());
    return layer.as<ILayer>();
}

ComPtr<IMap> map_of_100() {
    auto map = create<IMap>(CLSID_Map);
    map.as<IMapView>()->putref_Extent(envelope(0, 0, 100, 100).get());
    return map;
}

void output(IMap* map, WhiteBitmap& bmp, long w, long h) {
    ASSERT_EQ(ComPtr<IMap>(map).as<IMapView>()->Output(reinterpret_cast<LONG_PTR>(bmp.dc()), w, h), S_OK)
        << com::narrow(last_error());
}

}  // namespace

TEST(View, OutputDrawsVisibleLayersBottomFirstInMapUnits) {
    auto map = map_of_100();
    auto red = square_layer(L"Red", 10, 10, 50, 50, RGB(255, 0, 0));
    auto blue = square_layer(L"Blue", 20, 20, 40, 40, RGB(0, 0, 255));
    auto hidden = square_layer(L"Hidden", 0, 0, 100, 100, RGB(0, 255, 0));
    auto broken = square_layer(L"Broken", 0, 0, 100, 100, RGB(0, 255, 0));
    hidden->put_Visible(VARIANT_FALSE);
    broken->put_Valid(VARIANT_FALSE);
    map->AddLayer(red.get());
    map->AddLayer(blue.get());  // on top of red
    map->AddLayer(hidden.get());
    map->AddLayer(broken.get());

    WhiteBitmap bmp(100, 100);
    output(map.get(), bmp, 100, 100);
    EXPECT_EQ(bmp.pixel(15, 85), RGB(255, 0, 0)) << "world (15, 15): y up";
    EXPECT_EQ(bmp.pixel(30, 70), RGB(0, 0, 255)) << "the top layer covers the one below";
    EXPECT_EQ(bmp.pixel(70, 30), RGB(255, 255, 255)) << "hidden and invalid layers are not drawn";
    EXPECT_EQ(bmp.painted(), (RECT{10, 50, 50, 90}));

    // A group draws its members, and hiding the group hides them.
    auto group = create<IGroupLayer>(CLSID_GroupLayer);
    group->Add(square_layer(L"Member", 60, 60, 90, 90, RGB(0, 128, 0)).get());
    map->AddLayer(group.as<ILayer>().get());
    WhiteBitmap second(100, 100);
    output(map.get(), second, 100, 100);
    EXPECT_EQ(second.pixel(75, 25), RGB(0, 128, 0));
    group->put_Visible(VARIANT_FALSE);
    WhiteBitmap third(100, 100);
    output(map.get(), third, 100, 100);
    EXPECT_EQ(third.pixel(75, 25), RGB(255, 255, 255));
}

TEST(View, RenderersChooseSymbolsByFeatureValue) {
    auto features = create<IFeatureClass>(CLSID_FeatureClass);
    features->put_ShapeType(GeometryPolygon);
    auto value = [](const wchar_t* v) {
        com::Variant r = com::Variant::from_string(v);
        return r;
    };
    features->AddFeature(envelope(0, 0, 50, 100).as<IGeometry>().get(), *value(L"west").get());
    features->AddFeature(envelope(50, 0, 100, 100).as<IGeometry>().get(), *value(L"east").get());
    auto unique = create<IUniqueValueRenderer>(CLSID_UniqueValueRenderer);
    unique->AddValue(com::Bstr(L"west").get(), com::Bstr(L"West").get(), fill(RGB(10, 20, 30)).get());
    unique->putref_DefaultSymbol(fill(RGB(40, 50, 60)).get());
    auto layer = create<IFeatureRendering>(CLSID_FeatureLayer);
    layer->putref_FeatureClass(features.get());
    layer->putref_Renderer(unique.as<IFeatureRenderer>().get());
    auto map = map_of_100();
    map->AddLayer(layer.as<ILayer>().get());
    WhiteBitmap bmp(100, 100);
    output(map.get(), bmp, 100, 100);
    EXPECT_EQ(bmp.pixel(25, 50), RGB(10, 20, 30));
    EXPECT_EQ(bmp.pixel(75, 50), RGB(40, 50, 60)) << "a value without a class gets the default symbol";
}

TEST(View, RastersDrawTheirCells) {
    auto raster = create<IRasterLayer>(CLSID_RasterLayer);
    raster->SetSize(2, 1, 3);
    raster->putref_Extent(envelope(0, 0, 100, 100).get());
    const double cells[3][2] = {{255, 0}, {0, 0}, {0, 255}};  // red, then blue
    for (long b = 0; b < 3; ++b)
        for (long c = 0; c < 2; ++c) raster->put_CellValue(b, c, 0, cells[b][c]);
    raster->putref_Renderer(create<IRasterRenderer>(CLSID_RasterRgbRenderer).get());
    auto map = map_of_100();
    map->AddLayer(raster.as<ILayer>().get());
    WhiteBitmap bmp(100, 100);
    output(map.get(), bmp, 100, 100);
    EXPECT_EQ(bmp.pixel(25, 50), RGB(255, 0, 0));
    EXPECT_EQ(bmp.pixel(75, 50), RGB(0, 0, 255));

    auto classify = create<IRasterClassifyRenderer>(CLSID_RasterClassifyRenderer);
    classify->put_ClassCount(2);
    classify->put_Break(0, 100.0);
    classify->put_Break(1, 300.0);
    classify->putref_Symbol(0, fill(RGB(1, 1, 1)).get());
    classify->putref_Symbol(1, fill(RGB(2, 2, 2)).get());
    raster->putref_Renderer(classify.as<IRasterRenderer>().get());
    WhiteBitmap classified(100, 100);
    output(map.get(), classified, 100, 100);
    EXPECT_EQ(classified.pixel(25, 50), RGB(2, 2, 2)) << "255 is in the second class";
    EXPECT_EQ(classified.pixel(75, 50), RGB(1, 1, 1));
    classify->put_Break(1, 200.0);
    WhiteBitmap above(100, 100);
    output(map.get(), above, 100, 100);
    EXPECT_EQ(above.pixel(25, 50), RGB(255, 255, 255)) << "255 is above the last break: in no class, not drawn";
}

TEST(View, DrawingNotifiesEveryLayerThenTheWhole) {
    auto map = map_of_100();
    map->AddLayer(square_layer(L"A", 0, 0, 1, 1, 0).get());
    map->AddLayer(square_layer(L"B", 0, 0, 1, 1, 0).get());
    auto sink = RecordingSink::create();
    Subscription sub(map.get(), sink->unknown());
    WhiteBitmap bmp(10, 10);
    output(map.get(), bmp, 10, 10);
    EXPECT_EQ(sink->events, (std::vector<std::wstring>{L"AfterItemDraw(1)", L"AfterItemDraw(0)", L"AfterDraw"}));
    EXPECT_EQ(ComPtr<IMap>(map).as<IMapView>()->Output(reinterpret_cast<LONG_PTR>(bmp.dc()), 0, 10), E_INVALIDARG);
}

TEST(View, RefreshesRepaintTheAttachedWindowAndAreCounted) {
    auto map = map_of_100();
    map->AddLayer(square_layer(L"Red", 0, 0, 100, 100, RGB(255, 0, 0)).get());
    auto view = map.as<IMapView>();
    auto sink = RecordingSink::create();
    Subscription sub(map.get(), sink->unknown());

    // Without a window a refresh is still reported and counted.
    ASSERT_EQ(view->Refresh(), S_OK);
    EXPECT_EQ(sink->events, (std::vector<std::wstring>{L"ViewRefreshed(15)"}));

    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(w);
    view->put_Window(reinterpret_cast<LONG_PTR>(w));
    sink->events.clear();
    auto layer = square_layer(L"Partial", 0, 0, 1, 1, 0);
    ASSERT_EQ(view->PartialRefresh(DrawPhaseGeography, layer.get(), nullptr), S_OK);
    EXPECT_EQ(sink->events, (std::vector<std::wstring>{L"AfterItemDraw(0)", L"AfterDraw", L"ViewRefreshed(2)"}));
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 20, 15), RGB(255, 0, 0)) << "the window shows the map";
    ReleaseDC(w, dc);
    long n = 0;
    view->get_RefreshCount(&n);
    EXPECT_EQ(n, 2);
    view->put_Window(0);
    DestroyWindow(w);
}
