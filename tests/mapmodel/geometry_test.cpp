// Geometry, the display transformation, colours and colour ramps.
#include "fixture.h"

using namespace mm;

namespace {
struct Box {
    double xmin, ymin, xmax, ymax;
    bool operator==(const Box&) const = default;
};
Box box_of(IGeometry* g) {
    ComPtr<IEnvelope> e;
    EXPECT_EQ(g->get_Envelope(e.put()), S_OK);
    Box b{};
    e->get_XMin(&b.xmin);
    e->get_YMin(&b.ymin);
    e->get_XMax(&b.xmax);
    e->get_YMax(&b.ymax);
    return b;
}
bool empty(IGeometry* g) {
    VARIANT_BOOL e = 0;
    EXPECT_EQ(g->get_IsEmpty(&e), S_OK);
    return e == VARIANT_TRUE;
}
}  // namespace

TEST(Geometry, EnvelopeCoordinatesSizeAndExpansion) {
    auto e = create<IEnvelope>(CLSID_Envelope);
    EXPECT_TRUE(empty(e.as<IGeometry>().get()));
    ASSERT_EQ(e->PutCoords(0, 0, 18, 18), S_OK);
    EXPECT_FALSE(empty(e.as<IGeometry>().get()));
    ASSERT_EQ(e->Expand(2.0, 2.0, VARIANT_FALSE), S_OK);
    double w = 0, h = 0;
    e->get_Width(&w);
    e->get_Height(&h);
    EXPECT_EQ(w, 22.0);
    EXPECT_EQ(h, 22.0);
    EXPECT_EQ(box_of(e.as<IGeometry>().get()), (Box{-2, -2, 20, 20}));

    ASSERT_EQ(e->Expand(0.5, 2.0, VARIANT_TRUE), S_OK);  // as ratios, around the centre
    EXPECT_EQ(box_of(e.as<IGeometry>().get()), (Box{3.5, -13, 14.5, 31}));

    EXPECT_EQ(e->Expand(-20, 0, VARIANT_FALSE), E_INVALIDARG) << "cannot turn inside out";
    EXPECT_EQ(e->PutCoords(0, 0, std::numeric_limits<double>::quiet_NaN(), 1), E_INVALIDARG);
    EXPECT_EQ(box_of(e.as<IGeometry>().get()), (Box{3.5, -13, 14.5, 31})) << "refused changes keep the envelope";

    ASSERT_EQ(e->PutCoords(10, 10, 0, 0), S_OK);
    EXPECT_EQ(box_of(e.as<IGeometry>().get()), (Box{0, 0, 10, 10})) << "corners in any order";
    ASSERT_EQ(e->Union(envelope(-5, 2, 3, 20).get()), S_OK);
    EXPECT_EQ(box_of(e.as<IGeometry>().get()), (Box{-5, 0, 10, 20}));
    GeometryType type{};
    e.as<IGeometry>()->get_GeometryType(&type);
    EXPECT_EQ(type, GeometryEnvelope);
    e.as<IGeometry>()->SetEmpty();
    EXPECT_TRUE(empty(e.as<IGeometry>().get()));
}

TEST(Geometry, PointsLinesAndPolygons) {
    auto p = create<IPoint>(CLSID_Point);
    EXPECT_TRUE(empty(p.as<IGeometry>().get()));
    p->PutCoords(8.5, 9.5);
    EXPECT_EQ(box_of(p.as<IGeometry>().get()), (Box{8.5, 9.5, 8.5, 9.5}));

    // The line keeps coordinates, not the point objects.
    auto a = point(1, 9.5), b = point(17, 9.5);
    auto line = create<ILine>(CLSID_Line);
    ASSERT_EQ(line->putref_FromPoint(a.get()), S_OK);
    ASSERT_EQ(line->putref_ToPoint(b.get()), S_OK);
    a->PutCoords(100, 100);
    ComPtr<IPoint> from;
    line->get_FromPoint(from.put());
    double x = 0, y = 0;
    from->get_X(&x);
    from->get_Y(&y);
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(y, 9.5);
    double length = 0;
    line->get_Length(&length);
    EXPECT_EQ(length, 16.0);
    EXPECT_EQ(box_of(line.as<IGeometry>().get()), (Box{1, 9.5, 17, 9.5}));
    EXPECT_EQ(line->putref_ToPoint(create<IPoint>(CLSID_Point).get()), E_INVALIDARG) << "an empty point";

    auto polygon = create<IPolygon>(CLSID_PolygonShape);
    EXPECT_TRUE(empty(polygon.as<IGeometry>().get()));
    ComPtr<IEnvelope> e;
    polygon.as<IGeometry>()->get_Envelope(e.put());
    EXPECT_TRUE(empty(e.as<IGeometry>().get())) << "the envelope of an empty polygon is empty";
    polygon->AddPoint(0, 0);
    polygon->AddPoint(4, 0);
    polygon->AddPoint(2, 3);
    EXPECT_EQ(box_of(polygon.as<IGeometry>().get()), (Box{0, 0, 4, 3}));
    double px = 0, py = 0;
    EXPECT_EQ(polygon->GetPoint(3, &px, &py), E_INVALIDARG);
}

TEST(Geometry, ClonesAreIndependent) {
    auto e = envelope(0, 0, 1, 1);
    ComPtr<ICloneable> copy;
    ASSERT_EQ(e.as<ICloneable>()->Clone(copy.put()), S_OK);
    e->PutCoords(5, 5, 6, 6);
    EXPECT_EQ(box_of(copy.as<IGeometry>().get()), (Box{0, 0, 1, 1}));

    auto polygon = create<IPolygon>(CLSID_PolygonShape);
    polygon->AddPoint(1, 1);
    ASSERT_EQ(polygon.as<ICloneable>()->Clone(copy.put()), S_OK);
    polygon->AddPoint(2, 2);
    long n = 0;
    copy.as<IPolygon>()->get_PointCount(&n);
    EXPECT_EQ(n, 1);
}

TEST(Transformation, TheWorldRectangleCoversTheFrameWithYMaxOnTop) {
    auto t = create<IDisplayTransformation>(CLSID_DisplayTransformation);
    auto world = envelope(0, 0, 22, 22);
    ASSERT_EQ(t->put_Bounds(world.get()), S_OK);
    ASSERT_EQ(t->put_VisibleBounds(world.get()), S_OK);
    ASSERT_EQ(t->SetDeviceFrame(0, 0, 22, 22), S_OK);
    ASSERT_EQ(t->put_Resolution(96.0), S_OK);
    double px = 0, py = 0;
    t->ToDevice(0, 22, &px, &py);
    EXPECT_EQ(px, 0.0);
    EXPECT_EQ(py, 0.0) << "the world's top edge is the device's top row";
    t->ToDevice(1, 10, &px, &py);
    EXPECT_EQ(px, 1.0);
    EXPECT_EQ(py, 12.0) << "one unit per pixel, y downward";
    double x = 0, y = 0;
    t->FromDevice(17, 0, &x, &y);
    EXPECT_EQ(x, 17.0);
    EXPECT_EQ(y, 22.0);

    // Scaled and offset: a 100 x 50 world onto a 200 x 100 frame at (10, 20).
    t->put_VisibleBounds(envelope(100, 0, 200, 50).get());
    t->SetDeviceFrame(10, 20, 210, 120);
    t->ToDevice(150, 50, &px, &py);
    EXPECT_EQ(px, 110.0);
    EXPECT_EQ(py, 20.0);

    // The three drawing settings are accepted and kept.
    ASSERT_EQ(t->put_ScaleRatio(1.0), S_OK);
    ASSERT_EQ(t->put_QualityRatio(1.5), S_OK);
    ASSERT_EQ(t->put_Units(2), S_OK);
    double q = 0;
    long units = 0;
    t->get_QualityRatio(&q);
    t->get_Units(&units);
    EXPECT_EQ(q, 1.5);
    EXPECT_EQ(units, 2);
    long l, tp, r, b;
    t->GetDeviceFrame(&l, &tp, &r, &b);
    EXPECT_EQ(r, 210);
    EXPECT_EQ(t->put_Resolution(0), E_INVALIDARG);
}

TEST(Transformation, WithoutBoundsThereIsNoMapping) {
    auto t = create<IDisplayTransformation>(CLSID_DisplayTransformation);
    t->SetDeviceFrame(0, 0, 10, 10);
    double px = 0, py = 0;
    EXPECT_EQ(t->ToDevice(1, 1, &px, &py), E_INVALIDARG);
    EXPECT_NE(last_error().find(L"bounds"), std::wstring::npos);
}

TEST(Colors, RgbValuesAndChannels) {
    auto c = create<IRgbColor>(CLSID_RgbColor);
    ASSERT_EQ(c->put_RGB(0x00FF00), S_OK);
    long r = -1, g = -1, b = -1;
    c->get_Red(&r);
    c->get_Green(&g);
    c->get_Blue(&b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 0);
    c->put_Blue(0x12);
    long v = 0;
    c->get_RGB(&v);
    EXPECT_EQ(v, 0x12FF00);
    EXPECT_EQ(c->put_Red(256), E_INVALIDARG);
    EXPECT_EQ(c->put_RGB(0x1000000), E_INVALIDARG);
    c->get_RGB(&v);
    EXPECT_EQ(v, 0x12FF00);
}

TEST(Colors, RampsGiveTheirColours) {
    auto ramp = create<IAlgorithmicColorRamp>(CLSID_AlgorithmicColorRamp);
    ramp->putref_FromColor(rgb(RGB(0, 0, 0)).get());
    ramp->putref_ToColor(rgb(RGB(200, 100, 0)).get());
    ASSERT_EQ(ramp->put_Size(3), S_OK);
    auto color_at = [](IColorRamp* r, long i) {
        ComPtr<IColor> c;
        EXPECT_EQ(r->get_Color(i, c.put()), S_OK);
        long v = -1;
        if (c) c->get_RGB(&v);
        return COLORREF(v);
    };
    EXPECT_EQ(color_at(ramp.get(), 0), RGB(0, 0, 0));
    EXPECT_EQ(color_at(ramp.get(), 1), RGB(100, 50, 0));
    EXPECT_EQ(color_at(ramp.get(), 2), RGB(200, 100, 0));
    ComPtr<IColor> none;
    EXPECT_EQ(ramp->get_Color(3, none.put()), E_INVALIDARG);

    auto second = create<IAlgorithmicColorRamp>(CLSID_AlgorithmicColorRamp);
    second->putref_FromColor(rgb(RGB(200, 100, 0)).get());
    second->putref_ToColor(rgb(RGB(200, 200, 200)).get());
    auto multi = create<IMultiPartColorRamp>(CLSID_MultiPartColorRamp);
    ASSERT_EQ(multi->AddRamp(ramp.as<IColorRamp>().get()), S_OK);
    ASSERT_EQ(multi->AddRamp(second.as<IColorRamp>().get()), S_OK);
    long size = 0;
    multi->get_Size(&size);
    EXPECT_EQ(size, 5) << "the parts' sizes added up";
    multi->put_Size(5);
    EXPECT_EQ(color_at(multi.get(), 0), RGB(0, 0, 0));
    EXPECT_EQ(color_at(multi.get(), 4), RGB(200, 200, 200));
    EXPECT_EQ(multi->AddRamp(multi.as<IColorRamp>().get()), E_INVALIDARG) << "not a part of itself";
}
