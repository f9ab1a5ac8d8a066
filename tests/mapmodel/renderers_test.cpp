// Renderers: every operation the legend and the symbol write-back use, with symbols held by
// reference, unique values keyed by value, and index errors that change nothing.
#include "fixture.h"

using namespace mm;

namespace {
ComPtr<ISymbol> fill(COLORREF c) {
    auto s = create<IFillSymbol>(CLSID_SolidFillSymbol);
    s->putref_Color(rgb(c).get());
    return s.as<ISymbol>();
}

std::wstring text(HRESULT (STDMETHODCALLTYPE IUniqueValueRenderer::*get)(BSTR, BSTR*), IUniqueValueRenderer* r,
                  const wchar_t* key) {
    com::Bstr out;
    EXPECT_EQ((r->*get)(com::Bstr(key).get(), out.put()), S_OK) << "key " << com::narrow(key);
    return out.str();
}
}  // namespace

TEST(Renderers, SimpleRendererHoldsItsSymbolByReference) {
    auto r = create<ISimpleRenderer>(CLSID_SimpleRenderer);
    auto s = fill(RGB(1, 2, 3));
    ASSERT_EQ(r->putref_Symbol(s.get()), S_OK);
    ComPtr<ISymbol> back;
    r->get_Symbol(back.put());
    EXPECT_EQ(back.get(), s.get());
    com::Bstr d;
    r.as<IFeatureRenderer>()->get_Description(d.put());
    EXPECT_EQ(d.str(), L"Single symbol");
}

TEST(Renderers, ClassBreaksByPosition) {
    auto r = create<IClassBreaksRenderer>(CLSID_ClassBreaksRenderer);
    r->put_Field(com::Bstr(L"POP").get());
    ASSERT_EQ(r->put_BreakCount(3), S_OK);
    auto s2 = fill(RGB(0, 0, 200));
    ASSERT_EQ(r->putref_Symbol(2, s2.get()), S_OK);
    ASSERT_EQ(r->put_Label(1, com::Bstr(L"100 - 200").get()), S_OK);
    ASSERT_EQ(r->put_Break(1, 200.0), S_OK);

    com::Bstr field, label;
    r->get_Field(field.put());
    r->get_Label(1, label.put());
    EXPECT_EQ(field.str(), L"POP");
    EXPECT_EQ(label.str(), L"100 - 200");
    ComPtr<ISymbol> back, empty;
    r->get_Symbol(2, back.put());
    r->get_Symbol(0, empty.put());
    EXPECT_EQ(back.get(), s2.get());
    EXPECT_FALSE(empty) << "new classes have no symbol";

    EXPECT_EQ(r->putref_Symbol(3, s2.get()), E_INVALIDARG);
    EXPECT_EQ(r->put_Label(-1, com::Bstr(L"x").get()), E_INVALIDARG);
    EXPECT_EQ(r->put_BreakCount(-1), E_INVALIDARG);
    long n = 0;
    r->get_BreakCount(&n);
    EXPECT_EQ(n, 3);

    ASSERT_EQ(r->put_BreakCount(2), S_OK);
    EXPECT_EQ(r->get_Symbol(2, back.put()), E_INVALIDARG) << "the dropped class is gone";
}

TEST(Renderers, UniqueValuesAreKeyedByValueNotPosition) {
    auto r = create<IUniqueValueRenderer>(CLSID_UniqueValueRenderer);
    auto sb = fill(RGB(0, 0, 1)), sa = fill(RGB(0, 0, 2)), replacement = fill(RGB(0, 0, 3));
    ASSERT_EQ(r->AddValue(com::Bstr(L"b").get(), com::Bstr(L"Bee").get(), sb.get()), S_OK);
    ASSERT_EQ(r->AddValue(com::Bstr(L"a").get(), com::Bstr(L"Ay").get(), sa.get()), S_OK);

    com::Bstr v0;
    r->get_Value(0, v0.put());
    EXPECT_EQ(v0.str(), L"b") << "values keep the order they were added in";
    EXPECT_EQ(text(&IUniqueValueRenderer::get_Label, r.get(), L"a"), L"Ay");

    ASSERT_EQ(r->putref_Symbol(com::Bstr(L"a").get(), replacement.get()), S_OK);
    ComPtr<ISymbol> of_a, of_b;
    r->get_Symbol(com::Bstr(L"a").get(), of_a.put());
    r->get_Symbol(com::Bstr(L"b").get(), of_b.put());
    EXPECT_EQ(of_a.get(), replacement.get());
    EXPECT_EQ(of_b.get(), sb.get()) << "the class at position 0 is untouched";

    EXPECT_EQ(r->AddValue(com::Bstr(L"a").get(), com::Bstr(L"again").get(), sa.get()), com::CTL_E_KEYNOTUNIQUE);
    EXPECT_EQ(r->get_Symbol(com::Bstr(L"A").get(), of_a.put()), com::CTL_E_ELEMENTNOTFOUND) << "keys are binary";
    EXPECT_EQ(r->RemoveValue(com::Bstr(L"zzz").get()), com::CTL_E_ELEMENTNOTFOUND);
    long n = 0;
    r->get_ValueCount(&n);
    EXPECT_EQ(n, 2);

    ASSERT_EQ(r->RemoveValue(com::Bstr(L"b").get()), S_OK);
    r->get_Value(0, v0.put());
    EXPECT_EQ(v0.str(), L"a");
    EXPECT_EQ(text(&IUniqueValueRenderer::get_Label, r.get(), L"a"), L"Ay") << "the keys survive a removal";
}

TEST(Renderers, UniqueValueFields) {
    auto r = create<IUniqueValueRenderer>(CLSID_UniqueValueRenderer);
    long n = 0;
    r->get_FieldCount(&n);
    EXPECT_EQ(n, 1);
    ASSERT_EQ(r->put_Field(0, com::Bstr(L"TYPE").get()), S_OK);
    com::Bstr f;
    r->get_Field(0, f.put());
    EXPECT_EQ(f.str(), L"TYPE");
    EXPECT_EQ(r->get_Field(1, f.put()), E_INVALIDARG);
    EXPECT_EQ(r->put_FieldCount(0), E_INVALIDARG);
}

TEST(Renderers, PieChartIsAlsoAChartRenderer) {
    auto r = create<IPieChartRenderer>(CLSID_PieChartRenderer);
    auto chart = create<IChartSymbol>(CLSID_PieChartSymbol);
    auto as_chart = r.as<IChartRenderer>();
    ASSERT_EQ(as_chart->putref_ChartSymbol(chart.get()), S_OK);
    ComPtr<IChartSymbol> back;
    as_chart->get_ChartSymbol(back.put());
    EXPECT_EQ(back.get(), chart.get());
    EXPECT_TRUE(has<ISymbol>(back.get()));
}

TEST(Renderers, RasterUniqueValuesByClassAndValue) {
    auto r = create<IRasterUniqueValueRenderer>(CLSID_RasterUniqueValueRenderer);
    ASSERT_EQ(r->put_ClassCount(2), S_OK);
    auto s00 = fill(1), s01 = fill(2), s10 = fill(3), replacement = fill(4);
    r->AddValue(0, 1.0, com::Bstr(L"Water").get(), s00.get());
    r->AddValue(0, 2.0, com::Bstr(L"Marsh").get(), s01.get());
    r->AddValue(1, 5.0, com::Bstr(L"Forest").get(), s10.get());
    long m0 = 0, m1 = 0;
    r->get_ValueCount(0, &m0);
    r->get_ValueCount(1, &m1);
    EXPECT_EQ(m0, 2);
    EXPECT_EQ(m1, 1);

    ASSERT_EQ(r->putref_Symbol(1, 0, replacement.get()), S_OK);
    ComPtr<ISymbol> s;
    r->get_Symbol(1, 0, s.put());
    EXPECT_EQ(s.get(), replacement.get());
    r->get_Symbol(0, 0, s.put());
    EXPECT_EQ(s.get(), s00.get());
    com::Bstr t;
    r->get_Text(0, 1, t.put());
    EXPECT_EQ(t.str(), L"Marsh");

    EXPECT_EQ(r->get_Symbol(1, 1, s.put()), E_INVALIDARG);
    EXPECT_EQ(r->get_ValueCount(2, &m0), E_INVALIDARG);
    EXPECT_EQ(r->AddValue(2, 1.0, com::Bstr(L"x").get(), s00.get()), E_INVALIDARG);
}

TEST(Renderers, RasterClassifyAndBandRenderers) {
    auto classify = create<IRasterClassifyRenderer>(CLSID_RasterClassifyRenderer);
    classify->put_Field(com::Bstr(L"Value").get());
    ASSERT_EQ(classify->put_ClassCount(5), S_OK);
    auto s = fill(RGB(9, 9, 9));
    ASSERT_EQ(classify->putref_Symbol(4, s.get()), S_OK);
    ASSERT_EQ(classify->put_Label(4, com::Bstr(L"High").get()), S_OK);
    ComPtr<ISymbol> back;
    classify->get_Symbol(4, back.put());
    EXPECT_EQ(back.get(), s.get());
    EXPECT_EQ(classify->putref_Symbol(5, s.get()), E_INVALIDARG);

    auto stretch = create<IRasterStretchRenderer>(CLSID_RasterStretchRenderer);
    auto ramp = create<IColorRamp>(CLSID_AlgorithmicColorRamp);
    ASSERT_EQ(stretch->putref_ColorRamp(ramp.get()), S_OK);
    ComPtr<IColorRamp> ramp_back;
    stretch->get_ColorRamp(ramp_back.put());
    EXPECT_EQ(ramp_back.get(), ramp.get());

    auto rgb_renderer = create<IRasterRgbRenderer>(CLSID_RasterRgbRenderer);
    long red = -1, blue = -1;
    rgb_renderer->get_RedBand(&red);
    rgb_renderer->get_BlueBand(&blue);
    EXPECT_EQ(red, 0);
    EXPECT_EQ(blue, 2);
    EXPECT_EQ(rgb_renderer->put_GreenBand(-1), E_INVALIDARG);
}

TEST(Layers, FeatureAndRasterLayersKeepWhatTheyAreGiven) {
    auto layer = create<IFeatureRendering>(CLSID_FeatureLayer);
    auto features = create<IFeatureClass>(CLSID_FeatureClass);
    features->put_ShapeType(GeometryPolygon);
    auto renderer = create<IFeatureRenderer>(CLSID_SimpleRenderer);
    ASSERT_EQ(layer->putref_FeatureClass(features.get()), S_OK);
    ASSERT_EQ(layer->putref_Renderer(renderer.get()), S_OK);
    ComPtr<IFeatureClass> fc;
    layer.as<IFeatureLayer>()->get_FeatureClass(fc.put());
    long type = 0;
    fc->get_ShapeType(&type);
    EXPECT_EQ(type, GeometryPolygon);
    VARIANT_BOOL visible = 0, valid = 0;
    layer->get_Visible(&visible);
    layer->get_Valid(&valid);
    EXPECT_EQ(visible, VARIANT_TRUE);
    EXPECT_EQ(valid, VARIANT_TRUE);

    VARIANT value;
    value.vt = VT_I4;
    value.lVal = 7;
    ASSERT_EQ(features->AddFeature(point(1, 2).as<IGeometry>().get(), value), S_OK);
    EXPECT_EQ(features->AddFeature(nullptr, value), E_POINTER);
    long n = 0;
    features->get_FeatureCount(&n);
    EXPECT_EQ(n, 1);

    auto raster = create<IRasterLayer>(CLSID_RasterLayer);
    ASSERT_EQ(raster->SetSize(3, 2, 1), S_OK);
    ASSERT_EQ(raster->put_CellValue(0, 2, 1, 42.0), S_OK);
    double v = 0;
    raster->get_CellValue(0, 2, 1, &v);
    EXPECT_EQ(v, 42.0);
    EXPECT_EQ(raster->put_CellValue(0, 3, 0, 1.0), E_INVALIDARG);
    EXPECT_EQ(raster->put_CellValue(1, 0, 0, 1.0), E_INVALIDARG);
    EXPECT_EQ(raster->SetSize(100000, 100000, 3), E_INVALIDARG);
    long columns = 0;
    raster->get_Columns(&columns);
    EXPECT_EQ(columns, 3) << "a refused size keeps the grid";
}
