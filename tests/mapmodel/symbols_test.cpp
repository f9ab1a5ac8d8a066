// Symbols drawing themselves with GDI: the boundaries the control measures legend rows from,
// the pixels they paint on a white bitmap, the DC left as found, and deep clones.
#include "fixture.h"

using namespace mm;

namespace {

ComPtr<ILineSymbol> line_symbol(COLORREF c, double width) {
    auto l = create<ILineSymbol>(CLSID_LineSymbol);
    l->putref_Color(rgb(c).get());
    l->put_Width(width);
    return l;
}

ComPtr<ISymbol> solid_fill(COLORREF fill, COLORREF outline, double width) {
    auto s = create<IFillSymbol>(CLSID_SolidFillSymbol);
    s->putref_Color(rgb(fill).get());
    s->putref_Outline(line_symbol(outline, width).get());
    return s.as<ISymbol>();
}

ComPtr<ISymbol> marker(COLORREF c, double size, MarkerStyle style = MarkerCircle) {
    auto m = create<IMarkerSymbol>(CLSID_MarkerSymbol);
    m->putref_Color(rgb(c).get());
    m->put_Size(size);
    m->put_Style(style);
    return m.as<ISymbol>();
}

ComPtr<IColorRamp> two_colours(COLORREF from, COLORREF to) {
    auto r = create<IAlgorithmicColorRamp>(CLSID_AlgorithmicColorRamp);
    r->putref_FromColor(rgb(from).get());
    r->putref_ToColor(rgb(to).get());
    return r.as<IColorRamp>();
}

// As the control makes a ramp swatch: settings 0, 280.0, 50 and an outline of width 0.
ComPtr<ISymbol> ramp_fill(COLORREF from, COLORREF to) {
    auto g = create<IGradientFillSymbol>(CLSID_GradientFillSymbol);
    g->putref_ColorRamp(two_colours(from, to).get());
    g->put_Style(0);
    g->put_Angle(280.0);
    g->put_IntervalCount(50);
    ComPtr<ILineSymbol> outline;
    g->get_Outline(outline.put());
    outline->put_Width(0.0);
    return g.as<ISymbol>();
}

ComPtr<ISymbol> pie(double size) {
    auto p = create<IChartSymbol>(CLSID_PieChartSymbol);
    p->put_Size(size);
    p->AddSlice(rgb(RGB(255, 0, 0)).get(), 1.0);
    p->AddSlice(rgb(RGB(0, 0, 255)).get(), 3.0);
    return p.as<ISymbol>();
}

ComPtr<IGeometry> line_shape(double x0, double y0, double x1, double y1) {
    auto l = create<ILine>(CLSID_Line);
    l->PutCoords(point(x0, y0).get(), point(x1, y1).get());
    return l.as<IGeometry>();
}

ComPtr<IDisplayTransformation> transformation(long w, long h, double dpi = 96.0) {
    auto t = create<IDisplayTransformation>(CLSID_DisplayTransformation);
    auto e = envelope(0, 0, w, h);
    t->put_Bounds(e.get());
    t->put_VisibleBounds(e.get());
    t->SetDeviceFrame(0, 0, w, h);
    t->put_Resolution(dpi);
    return t;
}

// The boundary of a symbol for a shape, as a pixel rectangle.
RECT boundary(ISymbol* s, IGeometry* g, HDC dc = nullptr, ITransformation* t = nullptr) {
    auto polygon = create<IPolygon>(CLSID_PolygonShape);
    EXPECT_EQ(s->QueryBoundary(reinterpret_cast<LONG_PTR>(dc), t, g, polygon.get()), S_OK) << com::narrow(last_error());
    ComPtr<IEnvelope> e;
    polygon.as<IGeometry>()->get_Envelope(e.put());
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    e->get_XMin(&x0);
    e->get_YMin(&y0);
    e->get_XMax(&x1);
    e->get_YMax(&y1);
    return RECT{LONG(x0), LONG(y0), LONG(x1), LONG(y1)};
}

void draw(ISymbol* s, IGeometry* g, HDC dc, ITransformation* t = nullptr) {
    ASSERT_EQ(s->SetupDC(reinterpret_cast<LONG_PTR>(dc), t), S_OK) << com::narrow(last_error());
    ASSERT_EQ(s->Draw(g), S_OK) << com::narrow(last_error());
    ASSERT_EQ(s->ResetDC(), S_OK);
}

}  // namespace

TEST(Symbols, SolidFillOnAnEighteenPixelSquare) {
    auto fill = solid_fill(RGB(0, 200, 0), RGB(0, 0, 0), 1.0);
    auto square = envelope(0, 0, 18, 18);
    RECT b = boundary(fill.get(), square.as<IGeometry>().get());
    EXPECT_EQ(b, (RECT{0, 0, 19, 19})) << "18 x 18 plus the 1-pixel outline on the far edges";

    WhiteBitmap bmp(30, 30);
    draw(fill.get(), square.as<IGeometry>().get(), bmp.dc());
    EXPECT_EQ(bmp.painted(), b) << "the boundary is what is painted";
    EXPECT_EQ(bmp.pixel(9, 9), RGB(0, 200, 0));
    EXPECT_EQ(bmp.pixel(0, 9), RGB(0, 0, 0));
    EXPECT_EQ(bmp.pixel(18, 18), RGB(0, 0, 0));
    EXPECT_EQ(bmp.count(RGB(0, 200, 0)), 17 * 17);
}

TEST(Symbols, OnePixelLineAndSizeEightMarker) {
    auto line = line_symbol(RGB(200, 0, 0), 1.0).as<ISymbol>();
    auto segment = line_shape(0, 9, 18, 9);
    RECT b = boundary(line.get(), segment.get());
    EXPECT_EQ(b, (RECT{0, 9, 18, 10})) << "its length by one pixel";
    WhiteBitmap bmp(30, 30);
    draw(line.get(), segment.get(), bmp.dc());
    EXPECT_EQ(bmp.painted(), b);
    EXPECT_EQ(bmp.count(RGB(200, 0, 0)), 18);

    auto mark = marker(RGB(0, 0, 255), 8.0);
    auto at = point(9, 9);
    b = boundary(mark.get(), at.as<IGeometry>().get());
    EXPECT_EQ(b, (RECT{5, 5, 13, 13})) << "size x size around the point";
    WhiteBitmap bmp2(20, 20);
    draw(mark.get(), at.as<IGeometry>().get(), bmp2.dc());
    EXPECT_EQ(bmp2.painted(), b);
    EXPECT_EQ(bmp2.pixel(9, 9), RGB(0, 0, 255));
}

TEST(Symbols, WiderLinesAndEveryMarkerStyleMeasureWhatTheyPaint) {
    for (double width : {2.0, 3.0, 5.0}) {
        auto line = line_symbol(RGB(10, 10, 10), width).as<ISymbol>();
        auto path = create<IPolyline>(CLSID_PolylineShape);
        path->AddPoint(3, 4);
        path->AddPoint(20, 9);
        path->AddPoint(25, 30);
        RECT b = boundary(line.get(), path.as<IGeometry>().get());
        WhiteBitmap bmp(40, 40);
        draw(line.get(), path.as<IGeometry>().get(), bmp.dc());
        EXPECT_EQ(bmp.painted(), b) << "width " << width;
        EXPECT_EQ(boundary(line.get(), path.as<IGeometry>().get()), b) << "stable";
    }
    for (MarkerStyle style : {MarkerCircle, MarkerSquare, MarkerCross, MarkerX, MarkerDiamond}) {
        auto mark = marker(RGB(0, 0, 0), 9.0, style);
        auto at = point(10, 10);
        RECT b = boundary(mark.get(), at.as<IGeometry>().get());
        EXPECT_EQ(b.right - b.left, 9) << "style " << style;
        EXPECT_EQ(b.bottom - b.top, 9) << "style " << style;
        WhiteBitmap bmp(20, 20);
        draw(mark.get(), at.as<IGeometry>().get(), bmp.dc());
        EXPECT_EQ(bmp.painted(), b) << "style " << style;
    }
}

TEST(Symbols, SizesAreInPointsAtTheResolution) {
    auto mark = marker(RGB(0, 0, 0), 8.0);
    auto t = transformation(40, 40, 192.0);
    RECT b = boundary(mark.get(), point(20, 20).as<IGeometry>().get(), nullptr, t.get());
    EXPECT_EQ(b.right - b.left, 16) << "8 points at 192 dpi";
}

TEST(Symbols, TheRampSwatchShowsTheRampInBands) {
    // The control's stretch legend: a 15 x 48 rectangle, first colour at the bottom (280 degrees).
    auto swatch = ramp_fill(RGB(255, 0, 0), RGB(0, 0, 255));
    auto rect = envelope(0, 0, 15, 48);
    auto t = transformation(15, 48);
    RECT b = boundary(swatch.get(), rect.as<IGeometry>().get(), nullptr, t.get());
    EXPECT_EQ(b, (RECT{0, 0, 15, 48})) << "no outline at width 0";

    WhiteBitmap bmp(15, 48);
    draw(swatch.get(), rect.as<IGeometry>().get(), bmp.dc(), t.get());
    EXPECT_EQ(bmp.painted(), b);
    COLORREF top = bmp.pixel(7, 0), bottom = bmp.pixel(7, 47);
    EXPECT_GT(GetBValue(top), 230);
    EXPECT_LT(GetRValue(top), 25);
    EXPECT_GT(GetRValue(bottom), 230);
    EXPECT_LT(GetBValue(bottom), 25);
    std::vector<COLORREF> column;
    for (long y = 0; y < 48; ++y) {
        COLORREF c = bmp.pixel(7, y);
        if (column.empty() || column.back() != c) column.push_back(c);
    }
    EXPECT_GT(column.size(), 20u) << "many bands from blue to red";
}

TEST(Symbols, PieChartAndEverySymbolsBoundaryIsWhatItPaints) {
    auto chart = pie(16.0);
    RECT b = boundary(chart.get(), point(12, 12).as<IGeometry>().get());
    EXPECT_EQ(b, (RECT{4, 4, 20, 20}));
    WhiteBitmap bmp(24, 24);
    draw(chart.get(), point(12, 12).as<IGeometry>().get(), bmp.dc());
    EXPECT_EQ(bmp.painted(), b);
    EXPECT_GT(bmp.count(RGB(0, 0, 255)), 2 * bmp.count(RGB(255, 0, 0))) << "slices in proportion";

    // The control's swatch shapes under its 23 x 23 transformation.
    auto t = transformation(23, 23);
    auto polygon_swatch = envelope(1, 10, 18, 23);
    struct Case {
        ComPtr<ISymbol> symbol;
        ComPtr<IGeometry> shape;
    } cases[] = {
        {solid_fill(RGB(1, 2, 3), RGB(200, 0, 0), 1.0), polygon_swatch.as<IGeometry>()},
        {solid_fill(RGB(1, 2, 3), RGB(200, 0, 0), 3.0), polygon_swatch.as<IGeometry>()},
        {ramp_fill(RGB(0, 255, 0), RGB(255, 255, 0)), polygon_swatch.as<IGeometry>()},
        {line_symbol(RGB(9, 9, 9), 2.0).as<ISymbol>(), line_shape(1, 9, 17, 9)},
        {marker(RGB(9, 9, 9), 12.0, MarkerDiamond), point(8.5, 9.5).as<IGeometry>()},
        {pie(14.0), polygon_swatch.as<IGeometry>()},
    };
    for (auto& c : cases) {
        RECT measured = boundary(c.symbol.get(), c.shape.get(), nullptr, t.get()), visible{}, all{0, 0, 23, 23};
        IntersectRect(&visible, &measured, &all);  // a wide outline may reach past the bitmap
        WhiteBitmap canvas(23, 23);
        draw(c.symbol.get(), c.shape.get(), canvas.dc(), t.get());
        EXPECT_EQ(canvas.painted(), visible);
    }
}

TEST(Symbols, ShapesASymbolDoesNotDrawGiveAnEmptyBoundary) {
    auto fill = solid_fill(RGB(1, 2, 3), RGB(0, 0, 0), 1.0);
    RECT b = boundary(fill.get(), point(5, 5).as<IGeometry>().get());
    EXPECT_EQ(b, (RECT{0, 0, 0, 0}));
    auto polygon = create<IPolygon>(CLSID_PolygonShape);
    ASSERT_EQ(fill->QueryBoundary(0, nullptr, point(5, 5).as<IGeometry>().get(), polygon.get()), S_OK);
    VARIANT_BOOL empty = VARIANT_FALSE;
    polygon.as<IGeometry>()->get_IsEmpty(&empty);
    EXPECT_EQ(empty, VARIANT_TRUE);
}

TEST(Symbols, TheDeviceContextIsLeftExactlyAsFound) {
    WhiteBitmap bmp(40, 40);
    HDC dc = bmp.dc();
    HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    SelectObject(dc, pen);
    SelectObject(dc, brush);
    SelectObject(dc, font);
    SetTextColor(dc, RGB(7, 8, 9));
    SetBkColor(dc, RGB(10, 11, 12));
    SetBkMode(dc, OPAQUE);
    SetROP2(dc, R2_COPYPEN);
    SetPolyFillMode(dc, WINDING);
    SetDCBrushColor(dc, RGB(13, 14, 15));
    HRGN clip = CreateRectRgn(0, 0, 35, 35);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);

    auto t = transformation(40, 40);
    auto area = envelope(2, 2, 30, 30);
    ComPtr<ISymbol> symbols[] = {solid_fill(RGB(0, 255, 0), RGB(0, 0, 0), 2.0), ramp_fill(0, RGB(255, 0, 0)),
                                 line_symbol(RGB(0, 0, 255), 3.0).as<ISymbol>(), marker(RGB(9, 9, 9), 8.0), pie(10.0)};
    for (auto& s : symbols) {
        draw(s.get(), area.as<IGeometry>().get(), dc, t.get());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
        EXPECT_EQ(GetTextColor(dc), RGB(7, 8, 9));
        EXPECT_EQ(GetBkColor(dc), RGB(10, 11, 12));
        EXPECT_EQ(GetBkMode(dc), OPAQUE);
        EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
        EXPECT_EQ(GetPolyFillMode(dc), WINDING);
        EXPECT_EQ(GetDCBrushColor(dc), RGB(13, 14, 15));
        RECT box{};
        EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
        EXPECT_EQ(box, (RECT{0, 0, 35, 35}));
    }
    EXPECT_EQ(bmp.pixel(36, 36), RGB(255, 255, 255)) << "the caller's clip was honoured";
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    EXPECT_TRUE(DeleteObject(pen)) << "nothing of ours is left selected";
    DeleteObject(brush);
    DeleteObject(font);
}

TEST(Symbols, TheProtocolIsEnforced) {
    auto s = solid_fill(RGB(1, 1, 1), RGB(0, 0, 0), 1.0);
    WhiteBitmap bmp(10, 10);
    auto g = envelope(0, 0, 5, 5);
    EXPECT_EQ(s->Draw(g.as<IGeometry>().get()), E_UNEXPECTED) << "Draw needs SetupDC";
    EXPECT_EQ(s->ResetDC(), S_OK) << "nothing to put back";
    ASSERT_EQ(s->SetupDC(reinterpret_cast<LONG_PTR>(bmp.dc()), nullptr), S_OK);
    EXPECT_EQ(s->SetupDC(reinterpret_cast<LONG_PTR>(bmp.dc()), nullptr), E_UNEXPECTED);
    EXPECT_EQ(s->Draw(nullptr), E_POINTER);
    EXPECT_EQ(s->ResetDC(), S_OK);
    EXPECT_EQ(s->SetupDC(0, nullptr), E_INVALIDARG);
    EXPECT_EQ(s->QueryBoundary(0, nullptr, g.as<IGeometry>().get(), nullptr), E_POINTER);
}

TEST(Symbols, ClonesAreDeepAndIndependent) {
    // Fill: the outline is held by reference (the control sets a ramp swatch's outline width
    // through it), and a clone gets its own outline.
    auto fill = create<IFillSymbol>(CLSID_SolidFillSymbol);
    fill->putref_Color(rgb(RGB(1, 2, 3)).get());
    ComPtr<ILineSymbol> outline;
    fill->get_Outline(outline.put());
    ComPtr<ICloneable> copy;
    ASSERT_EQ(fill.as<ICloneable>()->Clone(copy.put()), S_OK);
    outline->put_Width(0.0);
    fill->putref_Color(rgb(RGB(9, 9, 9)).get());
    ComPtr<ILineSymbol> own, copied;
    fill->get_Outline(own.put());
    copy.as<IFillSymbol>()->get_Outline(copied.put());
    EXPECT_EQ(own.get(), outline.get());
    EXPECT_NE(copied.get(), outline.get());
    double w = 0;
    copied->get_Width(&w);
    EXPECT_EQ(w, 1.0);
    ComPtr<IColor> c;
    copy.as<IFillSymbol>()->get_Color(c.put());
    long v = 0;
    c->get_RGB(&v);
    EXPECT_EQ(v, long(RGB(1, 2, 3)));
    EXPECT_TRUE(has<ISymbol>(copy.get()));

    // Gradient: the ramp is copied too.
    auto gradient = create<IGradientFillSymbol>(CLSID_GradientFillSymbol);
    auto ramp = two_colours(RGB(0, 0, 0), RGB(255, 255, 255));
    gradient->putref_ColorRamp(ramp.get());
    gradient->put_Angle(280.0);
    ASSERT_EQ(gradient.as<ICloneable>()->Clone(copy.put()), S_OK);
    ramp.as<IAlgorithmicColorRamp>()->putref_ToColor(rgb(RGB(255, 0, 0)).get());
    gradient->put_Angle(0.0);
    ComPtr<IColorRamp> copied_ramp;
    copy.as<IGradientFillSymbol>()->get_ColorRamp(copied_ramp.put());
    EXPECT_NE(copied_ramp.get(), ramp.get());
    ComPtr<IColor> end;
    copied_ramp.as<IAlgorithmicColorRamp>()->get_ToColor(end.put());
    end->get_RGB(&v);
    EXPECT_EQ(v, long(RGB(255, 255, 255)));
    double angle = 0;
    copy.as<IGradientFillSymbol>()->get_Angle(&angle);
    EXPECT_EQ(angle, 280.0);

    // Marker, line and pie keep their own settings.
    auto mark = create<IMarkerSymbol>(CLSID_MarkerSymbol);
    mark->put_Size(8);
    ASSERT_EQ(mark.as<ICloneable>()->Clone(copy.put()), S_OK);
    mark->put_Size(20);
    double size = 0;
    copy.as<IMarkerSymbol>()->get_Size(&size);
    EXPECT_EQ(size, 8.0);

    auto chart = pie(10.0);
    ASSERT_EQ(chart.as<ICloneable>()->Clone(copy.put()), S_OK);
    chart.as<IChartSymbol>()->AddSlice(rgb(0).get(), 1.0);
    long slices = 0;
    copy.as<IChartSymbol>()->get_SliceCount(&slices);
    EXPECT_EQ(slices, 2);
}

// A host's own line symbol: its settings change without the fill knowing.
class HostLine final : public com::ComObject<HostLine, ILineSymbol> {
public:
    double width = 1.0;
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Color(IColor** c) override { return (*c = rgb(0).detach()), S_OK; }
    STDMETHODIMP putref_Color(IColor*) override { return S_OK; }
    STDMETHODIMP get_Width(double* points) override { return *points = width, S_OK; }
    STDMETHODIMP put_Width(double points) override { return width = points, S_OK; }
    STDMETHODIMP get_Style(LineStyle* s) override { return *s = LineSolid, S_OK; }
    STDMETHODIMP put_Style(LineStyle) override { return S_OK; }
};

TEST(Symbols, BoundariesFollowEveryChangeOfTheSymbolItsOutlineAndTheShape) {
    auto square = envelope(0, 0, 18, 18).as<IGeometry>();
    auto fill = create<IFillSymbol>(CLSID_SolidFillSymbol);
    const auto b = [&](ISymbol* s, IGeometry* g = nullptr) { return boundary(s, g ? g : square.get()); };
    auto symbol = fill.as<ISymbol>();
    ComPtr<ILineSymbol> outline;
    fill->get_Outline(outline.put());
    EXPECT_EQ(b(symbol.get()), (RECT{0, 0, 19, 19}));
    EXPECT_EQ(b(symbol.get()), (RECT{0, 0, 19, 19}));
    outline->put_Width(5.0);  // the outline object the fill holds
    EXPECT_EQ(b(symbol.get()), (RECT{-2, -2, 21, 21}));
    EXPECT_EQ(b(symbol.get(), envelope(0, 0, 10, 10).as<IGeometry>().get()), (RECT{-2, -2, 13, 13}));
    fill->putref_Outline(nullptr);
    EXPECT_EQ(b(symbol.get()), (RECT{0, 0, 18, 18}));
    fill.as<ISolidFillSymbol>()->put_Style(FillHollow);
    EXPECT_EQ(b(symbol.get()), (RECT{0, 0, 0, 0}));

    // A host's outline may change at any time.
    auto host = HostLine::create();
    fill.as<ISolidFillSymbol>()->put_Style(FillSolid);
    fill->putref_Outline(host.get());
    EXPECT_EQ(b(symbol.get()), (RECT{0, 0, 19, 19}));
    host->width = 5.0;
    EXPECT_EQ(b(symbol.get()), (RECT{-2, -2, 21, 21}));

    // A copy answers as its original did, and then follows its own changes only.
    auto mark = marker(RGB(0, 0, 255), 8.0);
    auto at = point(9, 9).as<IGeometry>();
    EXPECT_EQ(b(mark.get(), at.get()), (RECT{5, 5, 13, 13}));
    ComPtr<ICloneable> copy;
    ASSERT_EQ(mark.as<ICloneable>()->Clone(copy.put()), S_OK);
    EXPECT_EQ(b(copy.as<ISymbol>().get(), at.get()), (RECT{5, 5, 13, 13}));
    copy.as<IMarkerSymbol>()->put_Size(4.0);
    EXPECT_EQ(b(copy.as<ISymbol>().get(), at.get()), (RECT{7, 7, 11, 11}));
    EXPECT_EQ(b(mark.get(), at.get()), (RECT{5, 5, 13, 13}));
    // At another resolution the same size in points covers more pixels.
    auto twice = transformation(40, 40, 192.0);
    EXPECT_EQ(boundary(mark.get(), point(20, 20).as<IGeometry>().get(), nullptr, twice.get()),
              boundary(marker(RGB(0, 0, 255), 8.0).get(), point(20, 20).as<IGeometry>().get(), nullptr, twice.get()));
}

TEST(Symbols, BadSettingsAreRefusedAndKeepTheOldOnes) {
    auto line = create<ILineSymbol>(CLSID_LineSymbol);
    EXPECT_EQ(line->put_Width(-1), E_INVALIDARG);
    EXPECT_EQ(line->put_Style(LineStyle(42)), E_INVALIDARG);
    EXPECT_EQ(line->putref_Color(nullptr), E_POINTER);
    double w = 0;
    line->get_Width(&w);
    EXPECT_EQ(w, 1.0);
    auto gradient = create<IGradientFillSymbol>(CLSID_GradientFillSymbol);
    EXPECT_EQ(gradient->put_IntervalCount(0), E_INVALIDARG);
    EXPECT_EQ(gradient->put_Style(3), E_INVALIDARG);
    auto chart = create<IChartSymbol>(CLSID_PieChartSymbol);
    EXPECT_EQ(chart->AddSlice(rgb(0).get(), -1.0), E_INVALIDARG);
}
