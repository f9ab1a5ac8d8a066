// Nothing of the model outlives its users: after a map and everything taken from it is
// released, no object of the model is alive and the library may unload.
#include "fixture.h"
#include "common/registration.h"

using namespace mm;

namespace {

// Touches every symbol of a renderer: its boundary, a clone, a drawing.
void exercise(ISymbol* s, HDC dc) {
    if (!s) return;
    auto polygon = create<IPolygon>(CLSID_PolygonShape);
    auto shape = envelope(0, 0, 18, 18);
    EXPECT_EQ(s->QueryBoundary(reinterpret_cast<LONG_PTR>(dc), nullptr, shape.as<IGeometry>().get(), polygon.get()), S_OK);
    ComPtr<ICloneable> copy;
    EXPECT_EQ(ComPtr<ISymbol>(s).as<ICloneable>()->Clone(copy.put()), S_OK);
    EXPECT_EQ(s->SetupDC(reinterpret_cast<LONG_PTR>(dc), nullptr), S_OK);
    s->Draw(shape.as<IGeometry>().get());
    s->ResetDC();
}

void walk(ILayer* layer, HDC dc) {
    ComPtr<ILayer> l(layer);
    if (auto members = l.query<ISubLayers>()) {
        long n = 0;
        members->get_Count(&n);
        for (long i = 0; i < n; ++i) {
            ComPtr<ILayer> m;
            members->get_Layer(i, m.put());
            walk(m.get(), dc);
        }
    } else if (auto f = l.query<IFeatureRendering>()) {
        ComPtr<IFeatureRenderer> r;
        f->get_Renderer(r.put());
        if (auto simple = r.query<ISimpleRenderer>()) {
            ComPtr<ISymbol> s;
            simple->get_Symbol(s.put());
            exercise(s.get(), dc);
        } else if (auto breaks = r.query<IClassBreaksRenderer>()) {
            long n = 0;
            breaks->get_BreakCount(&n);
            for (long i = 0; i < n; ++i) {
                ComPtr<ISymbol> s;
                breaks->get_Symbol(i, s.put());
                exercise(s.get(), dc);
            }
        } else if (auto unique = r.query<IUniqueValueRenderer>()) {
            long n = 0;
            unique->get_ValueCount(&n);
            for (long i = 0; i < n; ++i) {
                com::Bstr v;
                ComPtr<ISymbol> s;
                unique->get_Value(i, v.put());
                unique->get_Symbol(v.get(), s.put());
                exercise(s.get(), dc);
            }
        } else if (auto chart = r.query<IChartRenderer>()) {
            ComPtr<IChartSymbol> s;
            chart->get_ChartSymbol(s.put());
            exercise(s.as<ISymbol>().get(), dc);
        }
    }
}

}  // namespace

TEST(Leaks, NothingLivesOnAfterAMapAndEverythingFromItIsReleased) {
    use_model();
    {
        auto doc = create<IMapDocument>(CLSID_MapDocument);
        ASSERT_EQ(doc->Open(com::Bstr(test::program_dir() + L"\\sample-map.json").get()), S_OK);
        ComPtr<IMap> map;
        doc->get_Map(map.put());
        auto sink = RecordingSink::create();
        Subscription sub(map.get(), sink->unknown());

        WhiteBitmap bmp(120, 90);
        long n = 0;
        map->get_LayerCount(&n);
        for (long i = 0; i < n; ++i) {
            ComPtr<ILayer> l;
            map->get_Layer(i, l.put());
            walk(l.get(), bmp.dc());
        }
        auto view = map.as<IMapView>();
        EXPECT_EQ(view->Output(reinterpret_cast<LONG_PTR>(bmp.dc()), 120, 90), S_OK);
        HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 60, 45, nullptr, nullptr, nullptr, nullptr);
        view->put_Window(reinterpret_cast<LONG_PTR>(w));
        EXPECT_EQ(view->Refresh(), S_OK);
        view->put_Window(0);
        DestroyWindow(w);

        ComPtr<ILayer> top;
        map->get_Layer(0, top.put());
        map->MoveLayer(top.get(), n - 1);
        map->DeleteLayer(top.get());
        EXPECT_GT(live_objects(), 50) << "the map is alive while held";
    }
    EXPECT_EQ(live_objects(), 0);
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    auto can_unload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(test::register_library(L"mapmodel.dll"), "DllCanUnloadNow")));
    ASSERT_TRUE(can_unload);
    EXPECT_EQ(can_unload(), S_OK);
}
