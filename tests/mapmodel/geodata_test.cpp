// Geographic data files: GeoJSON and TopoJSON read into feature layers with their coordinates,
// attributes and errors; the shipped world; renderers made from fields; documents that refer to
// data files by a relative path.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include "fixture.h"
#include "com/variant.h"
#include "common/registration.h"
#include "generator.h"

using namespace mm;

namespace {

struct Read {
    HRESULT hr;
    std::wstring error;
    std::vector<ComPtr<ILayer>> layers;
};

Read read_file(const std::wstring& path) {
    auto data = create<IDataFile>(CLSID_DataFile);
    Read r;
    r.hr = data->Open(com::Bstr(path).get());
    r.error = last_error();
    long n = 0;
    data->get_LayerCount(&n);
    for (long i = 0; i < n; ++i) {
        ComPtr<ILayer> l;
        data->get_Layer(i, l.put());
        r.layers.push_back(l);
    }
    return r;
}

Read read_text(const TempFolder& dir, const std::wstring& name, std::string_view text) {
    write_bytes(dir.file(name), text);
    return read_file(dir.file(name));
}

ComPtr<IFeatureClass> features_of(ILayer* layer) {
    ComPtr<IFeatureClass> f;
    ComPtr<ILayer>(layer).as<IFeatureLayer>()->get_FeatureClass(f.put());
    return f;
}

long count_of(ILayer* layer) {
    long n = 0;
    features_of(layer)->get_FeatureCount(&n);
    return n;
}

std::wstring number(double v) {
    std::wostringstream o;
    o << v;
    return o.str();
}

// A shape as text: its points "x y" joined by ", ", its parts by " | ".
std::wstring shape_text(IGeometry* g) {
    ComPtr<IGeometry> shape(g);
    VARIANT_BOOL empty = VARIANT_FALSE;
    g->get_IsEmpty(&empty);
    if (empty) return L"";
    long n = 0, parts = 1;
    std::vector<long> starts;
    auto get = [&](auto list) {
        list->get_PointCount(&n);
        std::wstring out;
        for (long i = 0; i < n; ++i) {
            double x = 0, y = 0;
            list->GetPoint(i, &x, &y);
            if (i && std::find(starts.begin(), starts.end(), i) != starts.end()) out += L" | ";
            else if (i) out += L", ";
            out += number(x) + L" " + number(y);
        }
        return out;
    };
    auto with_parts = [&](auto list) {
        list->get_PartCount(&parts);
        for (long p = 1; p < parts; ++p) {
            long s = 0;
            list->get_PartStart(p, &s);
            starts.push_back(s);
        }
        return get(list);
    };
    if (auto p = shape.query<IPoint>()) {
        double x = 0, y = 0;
        p->get_X(&x);
        p->get_Y(&y);
        return number(x) + L" " + number(y);
    }
    if (auto m = shape.query<IMultipoint>()) return get(m);
    if (auto l = shape.query<IPolyline>()) return with_parts(l);
    if (auto a = shape.query<IPolygon>()) return with_parts(a);
    return L"?";
}

std::vector<std::wstring> shapes_of(ILayer* layer) {
    std::vector<std::wstring> out;
    auto f = features_of(layer);
    for (long i = 0; i < count_of(layer); ++i) {
        ComPtr<IGeometry> g;
        f->get_Shape(i, g.put());
        out.push_back(shape_text(g.get()));
    }
    return out;
}

std::wstring attribute_text(IFeatureClass* f, long feature, const wchar_t* field) {
    long index = -1;
    f->FindField(com::Bstr(field).get(), &index);
    com::Variant v;
    if (FAILED(f->get_Attribute(feature, index, v.put()))) return L"(no field)";
    switch (v.type()) {
    case VT_EMPTY: return L"(empty)";
    case VT_NULL: return L"(null)";
    case VT_BOOL: return v.get()->boolVal ? L"true" : L"false";
    case VT_R8: return number(v.get()->dblVal);
    case VT_BSTR: return L"'" + std::wstring(com::view(v.get()->bstrVal)) + L"'";
    default: return L"(type " + std::to_wstring(v.type()) + L")";
    }
}

FieldType field_type(IFeatureClass* f, const wchar_t* field) {
    long index = -1;
    f->FindField(com::Bstr(field).get(), &index);
    FieldType t = FieldMixed;
    f->get_FieldType(index, &t);
    return t;
}

std::wstring name_text(ILayer* l) { return name_of(l); }

}  // namespace

TEST(GeoData, EveryGeometryTypeOfRfc7946ReadsBackAsItStands) {
    // The examples of RFC 7946, appendix A, as the features of one collection.
    TempFolder dir;
    const char* text = R"({"type": "FeatureCollection", "bbox": [100, 0, 105, 3], "features": [
      {"type": "Feature", "id": "pt", "geometry": {"type": "Point", "coordinates": [100.0, 0.0, 7.5]}, "properties": null},
      {"type": "Feature", "geometry": {"type": "LineString", "coordinates": [[100.0, 0.0], [101.0, 1.0]]}, "properties": {}},
      {"type": "Feature", "properties": null, "geometry": {"type": "Polygon", "coordinates": [
          [[100.0, 0.0], [101.0, 0.0], [101.0, 1.0], [100.0, 1.0], [100.0, 0.0]],
          [[100.8, 0.8], [100.8, 0.2], [100.2, 0.2], [100.2, 0.8], [100.8, 0.8]]]}},
      {"type": "Feature", "properties": null, "geometry": {"type": "MultiPoint", "coordinates": [[100.0, 0.0], [101.0, 1.0]]}},
      {"type": "Feature", "properties": null, "geometry": {"type": "MultiLineString", "coordinates": [
          [[100.0, 0.0], [101.0, 1.0]], [[102.0, 2.0], [103.0, 3.0]]]}},
      {"type": "Feature", "properties": null, "geometry": {"type": "MultiPolygon", "coordinates": [
          [[[102.0, 2.0], [103.0, 2.0], [103.0, 3.0], [102.0, 3.0], [102.0, 2.0]]],
          [[[100.0, 0.0], [101.0, 0.0], [101.0, 1.0], [100.0, 1.0], [100.0, 0.0]],
           [[100.2, 0.2], [100.2, 0.8], [100.8, 0.8], [100.8, 0.2], [100.2, 0.2]]]]}},
      {"type": "Feature", "properties": null, "geometry": {"type": "GeometryCollection", "geometries": [
          {"type": "Point", "coordinates": [100.0, 0.0]}, {"type": "LineString", "coordinates": [[101.0, 0.0], [102.0, 1.0]]}]}},
      {"type": "Feature", "properties": {"note": "no geometry"}, "geometry": null}
    ]})";
    Read r = read_text(dir, L"rfc.geojson", text);
    ASSERT_EQ(r.hr, S_OK) << com::narrow(r.error);
    ASSERT_EQ(r.layers.size(), 3u);
    EXPECT_EQ(name_text(r.layers[0].get()), L"rfc (points)");
    EXPECT_EQ(name_text(r.layers[1].get()), L"rfc (lines)");
    EXPECT_EQ(name_text(r.layers[2].get()), L"rfc (polygons)");
    EXPECT_EQ(shapes_of(r.layers[0].get()),
              (std::vector<std::wstring>{L"100 0", L"100 0, 101 1", L"100 0", L""}))
        << "the feature without geometry joins the first layer, empty";
    EXPECT_EQ(shapes_of(r.layers[1].get()), (std::vector<std::wstring>{L"100 0, 101 1", L"100 0, 101 1 | 102 2, 103 3",
                                                                        L"101 0, 102 1"}));
    EXPECT_EQ(shapes_of(r.layers[2].get()),
              (std::vector<std::wstring>{
                  L"100 0, 101 0, 101 1, 100 1 | 100.8 0.8, 100.8 0.2, 100.2 0.2, 100.2 0.8",
                  L"102 2, 103 2, 103 3, 102 3 | 100 0, 101 0, 101 1, 100 1 | 100.2 0.2, 100.2 0.8, 100.8 0.8, 100.8 0.2"}));
    long type = 0;
    features_of(r.layers[0].get())->get_ShapeType(&type);
    EXPECT_EQ(type, GeometryPoint);
    com::Variant id;
    features_of(r.layers[0].get())->get_Value(0, id.put());
    EXPECT_EQ(id.to_string(), L"pt");
    ComPtr<IEnvelope> extent;
    features_of(r.layers[2].get())->get_Extent(extent.put());
    double xmax = 0;
    extent->get_XMax(&xmax);
    EXPECT_EQ(xmax, 105) << "the collection's bbox";
    com::Bstr source;
    features_of(r.layers[1].get())->get_SourcePath(source.put());
    EXPECT_EQ(source.str(), dir.file(L"rfc.geojson"));

    // A geometry alone, its members in any order.
    Read bare = read_text(dir, L"bare.json", R"({"coordinates": [[[0, 0], [2, 0], [2, 1], [0, 0]]], "bbox": [0, 0, 4, 4], "type": "Polygon"})");
    ASSERT_EQ(bare.hr, S_OK) << com::narrow(bare.error);
    EXPECT_EQ(shapes_of(bare.layers[0].get()), (std::vector<std::wstring>{L"0 0, 2 0, 2 1"}));
    features_of(bare.layers[0].get())->get_Extent(extent.put());
    extent->get_XMax(&xmax);
    EXPECT_EQ(xmax, 4) << "the geometry's bbox";
}

// Longitude and latitude made for a globe, drawn flat: parts that step across the antimeridian
// are cut there; a rectangle around the whole world and parts elsewhere stay as they are.
TEST(GeoData, PartsThatCrossTheAntimeridianAreCutThere) {
    TempFolder dir;
    const char* text = R"({"type": "FeatureCollection", "features": [
      {"type": "Feature", "properties": null, "geometry": {"type": "Polygon", "coordinates": [
          [[170, 10], [180, 10], [-180, 12], [-170, 10], [-170, 20], [170, 20], [170, 10]]]}},
      {"type": "Feature", "properties": null, "geometry": {"type": "Polygon", "coordinates": [
          [[-180, -90], [180, -90], [180, 90], [-180, 90], [-180, -90]]]}},
      {"type": "Feature", "properties": null, "geometry": {"type": "Polygon", "coordinates": [
          [[-90, -70], [0, -60], [90, -70], [170, -60], [-170, -60], [-90, -70]]]}},
      {"type": "Feature", "properties": null, "geometry": {"type": "Polygon", "coordinates": [
          [[-180, -80], [0, -70], [180, -80], [-180, -80]]]}},
      {"type": "Feature", "properties": null, "geometry": {"type": "LineString", "coordinates": [[160, 0], [-160, 20]]}}
    ]})";
    Read r = read_text(dir, L"globe.geojson", text);
    ASSERT_EQ(r.hr, S_OK) << com::narrow(r.error);
    ASSERT_EQ(r.layers.size(), 2u);
    EXPECT_EQ(shapes_of(r.layers[0].get()), (std::vector<std::wstring>{L"160 0, 180 10 | -180 10, -160 20"}));
    EXPECT_EQ(shapes_of(r.layers[1].get()),
              (std::vector<std::wstring>{
                  L"170 10, 180 10, 180 12, 180 20, 170 20 | -180 10, -180 12, -170 10, -170 20, -180 20",
                  L"-180 -90, 180 -90, 180 90, -180 90",
                  // once around the south pole: closed along the map's southern edge
                  L"-90 -70, 0 -60, 90 -70, 170 -60, 180 -60, 180 -90, -90 -90 | -180 -60, -170 -60, -90 -70, -90 -90, -180 -90",
                  // around it from one side of the antimeridian to the other
                  L"-180 -80, 0 -70, 180 -80, 180 -90, -180 -90"}));
}

TEST(GeoData, TopologyArcsAreSharedReversedAndQuantized) {
    // Two squares side by side sharing the arc 1 (the right one lists it reversed, as -2), a line of two
    // arcs, a point; quantized (scale 0.5, translate 10, 20) and delta-encoded, the transform last.
    TempFolder dir;
    const char* text = R"({"type": "Topology",
      "objects": {
        "squares": {"type": "GeometryCollection", "geometries": [
          {"type": "Polygon", "arcs": [[0, 1]], "id": 1, "properties": {"name": "West"}},
          {"type": "Polygon", "arcs": [[-2, 2]], "id": 2, "properties": {"name": "East"}}]},
        "ways": {"type": "GeometryCollection", "geometries": [
          {"type": "LineString", "arcs": [3, -5]},
          {"type": "Point", "coordinates": [4, 6]},
          {"type": null}]}
      },
      "arcs": [
        [[2, 0], [-2, 0], [0, 2], [2, 0]],
        [[2, 2], [0, -2]],
        [[2, 2], [2, 0], [0, -2], [-2, 0]],
        [[0, 0], [3, 1]],
        [[4, 0], [-1, 0], [0, 1]]
      ],
      "transform": {"scale": [0.5, 0.5], "translate": [10, 20]}})";
    Read r = read_text(dir, L"topo.json", text);
    ASSERT_EQ(r.hr, S_OK) << com::narrow(r.error);
    ASSERT_EQ(r.layers.size(), 3u);
    EXPECT_EQ(name_text(r.layers[0].get()), L"squares");
    EXPECT_EQ(shapes_of(r.layers[0].get()), (std::vector<std::wstring>{L"11 20, 10 20, 10 21, 11 21",
                                                                        L"11 20, 11 21, 12 21, 12 20"}))
        << "the shared arc runs both ways";
    EXPECT_EQ(name_text(r.layers[1].get()), L"ways (points)");
    EXPECT_EQ(shapes_of(r.layers[1].get()), (std::vector<std::wstring>{L"12 23", L""}));
    EXPECT_EQ(shapes_of(r.layers[2].get()), (std::vector<std::wstring>{L"10 20, 11.5 20.5, 11.5 20, 12 20"}));
    auto squares = features_of(r.layers[0].get());
    EXPECT_EQ(attribute_text(squares.get(), 1, L"name"), L"'East'");
    com::Bstr object;
    squares->get_SourceObject(object.put());
    EXPECT_EQ(object.str(), L"squares");
}

TEST(GeoData, PropertiesKeepTheirJsonTypes) {
    TempFolder dir;
    const char* text = R"({"type": "FeatureCollection", "features": [
      {"type": "Feature", "geometry": {"type": "Point", "coordinates": [1, 2]},
       "properties": {"text": "Kelp", "number": -2.5, "flag": true, "nothing": null, "object": {"a": [1, "b"]}, "mixed": 1}},
      {"type": "Feature", "geometry": {"type": "Point", "coordinates": [3, 4]},
       "properties": {"text": "Bay", "later": false, "mixed": "one"}}]})";
    Read r = read_text(dir, L"props.json", text);
    ASSERT_EQ(r.hr, S_OK) << com::narrow(r.error);
    auto f = features_of(r.layers[0].get());
    long fields = 0;
    f->get_FieldCount(&fields);
    EXPECT_EQ(fields, 7);
    EXPECT_EQ(attribute_text(f.get(), 0, L"text"), L"'Kelp'");
    EXPECT_EQ(attribute_text(f.get(), 0, L"number"), L"-2.5");
    EXPECT_EQ(attribute_text(f.get(), 0, L"flag"), L"true");
    EXPECT_EQ(attribute_text(f.get(), 0, L"nothing"), L"(null)");
    EXPECT_EQ(attribute_text(f.get(), 0, L"object"), L"'{\"a\":[1,\"b\"]}'");
    EXPECT_EQ(attribute_text(f.get(), 0, L"later"), L"(empty)") << "a member the first feature lacks";
    EXPECT_EQ(attribute_text(f.get(), 1, L"later"), L"false");
    EXPECT_EQ(field_type(f.get(), L"text"), FieldText);
    EXPECT_EQ(field_type(f.get(), L"number"), FieldNumber);
    EXPECT_EQ(field_type(f.get(), L"flag"), FieldBoolean);
    EXPECT_EQ(field_type(f.get(), L"nothing"), FieldNone);
    EXPECT_EQ(field_type(f.get(), L"object"), FieldJson);
    EXPECT_EQ(field_type(f.get(), L"mixed"), FieldMixed);
}

TEST(GeoData, TheShippedWorldOpens) {
    Read countries = read_file(test::program_dir() + L"\\countries-110m.json");
    ASSERT_EQ(countries.hr, S_OK) << com::narrow(countries.error);
    ASSERT_EQ(countries.layers.size(), 2u);
    EXPECT_EQ(name_text(countries.layers[0].get()), L"countries");
    EXPECT_EQ(name_text(countries.layers[1].get()), L"land");
    ASSERT_EQ(count_of(countries.layers[0].get()), 177);
    auto f = features_of(countries.layers[0].get());
    std::vector<std::wstring> names;
    for (long i = 0; i < 177; ++i) names.push_back(attribute_text(f.get(), i, L"name"));
    for (const wchar_t* known : {L"'Fiji'", L"'Canada'", L"'Brazil'", L"'Australia'", L"'Antarctica'", L"'Norway'"})
        EXPECT_NE(std::find(names.begin(), names.end(), known), names.end()) << com::narrow(known);
    ComPtr<IEnvelope> e;
    f->get_Extent(e.put());
    double xmin = 0, xmax = 0;
    e->get_XMin(&xmin);
    e->get_XMax(&xmax);
    EXPECT_EQ(xmin, -180);
    EXPECT_EQ(xmax, 180);

    Read land = read_file(test::program_dir() + L"\\land-110m.json");
    ASSERT_EQ(land.hr, S_OK) << com::narrow(land.error);
    ASSERT_EQ(land.layers.size(), 1u);
    EXPECT_EQ(count_of(land.layers[0].get()), 1);
}

TEST(GeoData, RenderersFromATextAndANumericFieldClassifyTheFeatures) {
    // 300 features: names "n000" to "n299" (one without), values 1 to 300.
    TempFolder dir;
    std::string text = R"({"type": "FeatureCollection", "features": [)";
    for (int i = 0; i < 300; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "n%03d", 299 - i);
        text += std::string(i ? "," : "") + R"({"type": "Feature", "geometry": {"type": "Point", "coordinates": [)" +
                std::to_string(i % 20) + "," + std::to_string(i / 20) + R"(]}, "properties": {"value": )" +
                std::to_string(i + 1) + (i == 7 ? "" : std::string(R"(, "name": ")") + name + "\"") + "}}";
    }
    text += "]}";
    Read r = read_text(dir, L"many.json", text);
    ASSERT_EQ(r.hr, S_OK) << com::narrow(r.error);
    auto f = features_of(r.layers[0].get());
    auto maker = create<IRendererMaker>(CLSID_RendererMaker);

    ComPtr<IFeatureRenderer> renderer;
    ASSERT_EQ(maker->UniqueValues(f.get(), com::Bstr(L"name").get(), renderer.put()), S_OK) << com::narrow(last_error());
    auto unique = renderer.as<IUniqueValueRenderer>();
    long classes = 0;
    unique->get_ValueCount(&classes);
    EXPECT_EQ(classes, 256) << "255 values and Other";
    com::Bstr first, last, label;
    unique->get_Value(0, first.put());
    unique->get_Value(255, last.put());
    unique->get_Label(last.get(), label.put());
    EXPECT_EQ(first.str(), L"n000") << "sorted";
    EXPECT_EQ(label.str(), L"Other");
    ComPtr<ISymbol> other, fallback, n001;
    unique->get_Symbol(last.get(), other.put());
    unique->get_DefaultSymbol(fallback.put());
    EXPECT_TRUE(com::same_object(other.get(), fallback.get())) << "the rest and features without a name";
    unique->get_Symbol(com::Bstr(L"n001").get(), n001.put());
    ComPtr<IColor> c0, c1;
    n001.as<IMarkerSymbol>()->get_Color(c1.put());
    ComPtr<ISymbol> n000;
    unique->get_Symbol(first.get(), n000.put());
    n000.as<IMarkerSymbol>()->get_Color(c0.put());
    long rgb0 = 0, rgb1 = 0;
    c0->get_RGB(&rgb0);
    c1->get_RGB(&rgb1);
    EXPECT_NE(rgb0, rgb1) << "neighbours in the legend differ";

    ComPtr<IFeatureRenderer> by_value;
    ASSERT_EQ(maker->ClassBreaks(f.get(), com::Bstr(L"value").get(), by_value.put()), S_OK) << com::narrow(last_error());
    auto breaks = by_value.as<IClassBreaksRenderer>();
    long n = 0;
    double minimum = 0;
    breaks->get_BreakCount(&n);
    breaks->get_MinimumBreak(&minimum);
    ASSERT_EQ(n, 5);
    EXPECT_EQ(minimum, 1);
    std::vector<double> at;
    for (long i = 0; i < n; ++i) {
        double b = 0;
        breaks->get_Break(i, &b);
        at.push_back(b);
    }
    EXPECT_EQ(at, (std::vector<double>{60, 120, 180, 240, 300})) << "quintiles";
    com::Bstr first_label;
    breaks->get_Label(0, first_label.put());
    EXPECT_EQ(first_label.str(), L"1 \u2013 60");

    EXPECT_NE(maker->ClassBreaks(f.get(), com::Bstr(L"name").get(), by_value.put()), S_OK);
    EXPECT_NE(last_error().find(L"not numeric"), std::wstring::npos) << com::narrow(last_error());

    // Drawing classifies by the field the renderer names: feature 299 ("n000") in n000's colour.
    ComPtr<IFeatureRendering>(r.layers[0].as<IFeatureRendering>())->putref_Renderer(renderer.get());
    auto map = create<IMap>(CLSID_Map);
    map->AddLayer(r.layers[0].get());
    map.as<IMapView>()->putref_Extent(envelope(-0.5, -0.5, 19.5, 14.5).get());
    WhiteBitmap bmp(200, 150);
    ASSERT_EQ(map.as<IMapView>()->Output(reinterpret_cast<LONG_PTR>(bmp.dc()), 200, 150), S_OK);
    EXPECT_EQ(bmp.pixel(195, 5), COLORREF(rgb0)) << "feature 299 at (19, 14)";
}

TEST(GeoData, MalformedFilesSayWhereAndWhatAndAddNothing) {
    TempFolder dir;
    const std::string feature = R"({"type": "Feature", "properties": null, "geometry": )";
    struct Case {
        std::string text;
        std::wstring error;
    } cases[] = {
        {R"({"type": "FeatureCollection", "features": [)" + feature + R"({"type": "Point", "coordinates": [1, 2]}}, )",
         L"bad.json:1:"},
        {R"({"type": "FeatureCollection", "features": [)" + feature + R"({"type": "Point", "coordinates": "1 2"}}]})",
         L"bad.json: features[0].geometry.coordinates: a position is an array of two or more numbers"},
        {R"({"type": "FeatureCollection", "features": [)" + feature + R"({"type": "Point", "coordinates": [1, 2]}}, )" +
             feature + R"({"type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1], [0, 0]], [[0, 0], [1, 1]]]}}]})",
         L"bad.json: features[1].geometry.coordinates[1]: a linear ring has four or more positions"},
        // Coordinates and arc indexes are read as they stream in: ill-formed ones still say where.
        {R"({"type": "FeatureCollection", "features": [)" + feature + R"({"type": "LineString", "coordinates": [[0, 0], 1]}}]})",
         L"bad.json: features[0].geometry.coordinates: expected an array of positions"},
        {R"({"type": "FeatureCollection", "features": [)" + feature + R"({"coordinates": [], "type": "Point"}}]})",
         L"bad.json: features[0].geometry.coordinates: a position is an array of two or more numbers"},
        {R"({"type": "FeatureCollection", "features": [)" + feature + R"({"type": "MultiPoint", "coordinates": [[0, 0], [1, "x"]]}}]})",
         L"bad.json: features[0].geometry.coordinates: expected a number"},
        {R"({"type": "Topology", "objects": {"o": {"type": "GeometryCollection", "geometries": [{"type": "Polygon", "arcs": [[0], [0, 1.5]]}]}},
            "arcs": [[[0, 0], [1, 0], [1, 1], [0, 0]]]})",
         L"bad.json: objects.o.geometries[0].arcs[1][1]: an arc index is a whole number"},
        {R"({"type": "FeatureCollection", "features": [)" + feature + R"({"type": "Circle", "coordinates": [1, 2]}}]})",
         L"bad.json: features[0].geometry.type: unknown geometry type \"Circle\""},
        {R"({"type": "FeatureCollection", "features": []})", L"bad.json: features: there are no features"},
        {R"({"type": "Topology", "objects": {"o": {"type": "GeometryCollection", "geometries": [
            {"type": "LineString", "arcs": [0]}, {"type": "LineString", "arcs": [0, -8]}]}}, "arcs": [[[0, 0], [1, 1]]]})",
         L"bad.json: objects.o.geometries[1].arcs: arc -8 is out of range: the topology has 1 arc"},
        {R"({"type": "Topology", "objects": {"o": {"type": "GeometryCollection", "geometries": []}}, "arcs": []})",
         L"bad.json: objects.o: there are no features"},
        {R"({"type": "Topology", "objects": {}, "arcs": [[[0, 0], [1, "x"]]]})", L"bad.json: arcs[0][1]: expected a number"},
        // Arc indexes outside [-n, n - 1], also one that a 64-bit integer would wrap to -1.
        {R"({"type": "Topology", "objects": {"o": {"type": "LineString", "arcs": [0, 18446744073709551615]}}, "arcs": [[[0, 0], [1, 1]]]})",
         L"bad.json: objects.o.arcs[1]: arc 18446744073709551615 is out of range"},
        {R"({"type": "Topology", "objects": {"o": {"type": "MultiLineString", "arcs": [[0], [1]]}}, "arcs": [[[0, 0], [1, 1]]]})",
         L"bad.json: objects.o.arcs[1]: arc 1 is out of range: the topology has 1 arc"},
        {R"({"type": "Topology", "objects": {"o": {"type": "LineString", "arcs": [-2]}}, "arcs": [[[0, 0], [1, 1]]]})",
         L"bad.json: objects.o.arcs: arc -2 is out of range: the topology has 1 arc"},
        {R"({"type": "Topology", "transform": {"scale": [1e308, 1], "translate": [0, 0]}, "objects": {"o": {"type": "LineString", "arcs": [0]}},
            "arcs": [[[0, 0], [1, 1], [9, 1]]]})",
         L"bad.json: arcs[0][2]: the position is not finite after the transform"},
        // Rings whose arcs do not close, or close into fewer than four positions.
        {R"({"type": "Topology", "objects": {"o": {"type": "MultiPolygon", "arcs": [[[0]], [[-1], [1]]]}},
            "arcs": [[[0, 0], [1, 0], [1, 1], [0, 0]], [[0, 0], [1, 0], [1, 1], [0, 1]]]})",
         L"bad.json: objects.o.arcs[1][1]: its arcs do not close"},
        {R"({"type": "Topology", "objects": {"o": {"type": "Polygon", "arcs": [[0]]}}, "arcs": [[[0, 0], [1, 0], [0, 0]]]})",
         L"bad.json: objects.o.arcs[0]: its arcs join into 3 positions: a linear ring has four or more positions"},
        {R"({"name": "a map document", "layers": []})", L"bad.json: top level: neither GeoJSON nor TopoJSON"},
    };
    auto data = create<IDataFile>(CLSID_DataFile);
    ASSERT_EQ(data->Open(com::Bstr(test::program_dir() + L"\\land-110m.json").get()), S_OK);
    for (const Case& c : cases) {
        write_bytes(dir.file(L"bad.json"), c.text);
        EXPECT_EQ(data->Open(com::Bstr(dir.file(L"bad.json")).get()), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201));
        const std::wstring error = last_error();
        EXPECT_NE(error.find(dir.file(L"") + c.error), std::wstring::npos) << com::narrow(error);
        long n = 0;
        data->get_LayerCount(&n);
        EXPECT_EQ(n, 1) << "the layers read before stay";
    }
}

TEST(GeoData, ADocumentNamesItsDataByARelativePathWhereverItIsSaved) {
    TempFolder dir;
    CreateDirectoryW(dir.file(L"data").c_str(), nullptr);
    CreateDirectoryW(dir.file(L"maps").c_str(), nullptr);
    CopyFileW((test::program_dir() + L"\\countries-110m.json").c_str(), dir.file(L"data\\countries.json").c_str(), FALSE);
    write_bytes(dir.file(L"data\\world.json"), R"({"name": "World", "layers": [
      {"kind": "feature", "name": "Countries", "source": "countries.json", "object": "countries",
       "renderer": {"kind": "simple", "symbol": {"type": "fill", "color": "#88AA66"}}},
      {"kind": "feature", "source": "./countries.json", "object": "land", "shapeType": "polygon"}]})");
    auto doc = create<IMapDocument>(CLSID_MapDocument);
    ASSERT_EQ(doc->Open(com::Bstr(dir.file(L"data\\world.json")).get()), S_OK) << com::narrow(last_error());
    ComPtr<IMap> map;
    doc->get_Map(map.put());
    EXPECT_EQ(layer_names(map.get()), (std::vector<std::wstring>{L"Countries", L"land"}));
    ComPtr<ILayer> countries;
    map->get_Layer(0, countries.put());
    EXPECT_EQ(count_of(countries.get()), 177);

    ASSERT_EQ(doc->Save(com::Bstr(dir.file(L"maps\\saved.json")).get()), S_OK) << com::narrow(last_error());
    const std::string saved = read_bytes(dir.file(L"maps\\saved.json"));
    EXPECT_NE(saved.find(R"("source": "../data/countries.json")"), std::string::npos) << saved;
    EXPECT_EQ(saved.find(R"("features")"), std::string::npos) << "the features stay in the file";

    auto again = create<IMapDocument>(CLSID_MapDocument);
    ASSERT_EQ(again->Open(com::Bstr(dir.file(L"maps\\saved.json")).get()), S_OK) << com::narrow(last_error());
    ComPtr<IMap> reopened;
    again->get_Map(reopened.put());
    ComPtr<ILayer> first;
    reopened->get_Layer(0, first.put());
    EXPECT_EQ(count_of(first.get()), 177);
    EXPECT_EQ(read_bytes(dir.file(L"maps\\saved.json")), saved);
    ASSERT_EQ(again->Save(com::Bstr(dir.file(L"maps\\saved.json")).get()), S_OK);
    EXPECT_EQ(read_bytes(dir.file(L"maps\\saved.json")), saved) << "saving again gives the same bytes";

    // A source that is missing names the layer and the file, and the document keeps its map.
    DeleteFileW(dir.file(L"data\\countries.json").c_str());
    EXPECT_NE(again->Open(com::Bstr(dir.file(L"maps\\saved.json")).get()), S_OK);
    EXPECT_NE(last_error().find(L"saved.json: layers[0].source: " + dir.file(L"data\\countries.json") +
                                L": cannot open the data file"),
              std::wstring::npos)
        << com::narrow(last_error());
    ComPtr<IMap> kept;
    again->get_Map(kept.put());
    EXPECT_TRUE(com::same_object(kept.get(), reopened.get()));
}

// Files made to cost as much as they can: each opens or is refused at a cost in proportion to its
// size (a reading that grew with the square of the file would not end within the test's time).
TEST(GeoData, HostileFilesOpenOrAreRefusedInProportionToTheirSize) {
    TempFolder dir;
    // One line naming one arc of 100,000 positions 500,000 times: refused before it is decoded.
    Read repeated = read_text(dir, L"repeated.json", mapgen::repeated_arc_topology(100000, 500000));
    EXPECT_EQ(repeated.hr, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201));
    EXPECT_NE(repeated.error.find(L"repeated.json: objects.line: the arcs its geometries name would decode into more than 10000000 positions"),
              std::wstring::npos)
        << com::narrow(repeated.error);

    // 50,000 points, each with a property name of its own: a field each, a value each.
    Read points = read_text(dir, L"points.json", mapgen::points_with_own_names(50000));
    ASSERT_EQ(points.hr, S_OK) << com::narrow(points.error);
    auto f = features_of(points.layers[0].get());
    long fields = 0;
    f->get_FieldCount(&fields);
    EXPECT_EQ(fields, 50000);
    EXPECT_EQ(attribute_text(f.get(), 49999, L"name_049999"), L"49999");
    EXPECT_EQ(attribute_text(f.get(), 49998, L"name_049999"), L"(empty)");

    // A ring stepping 179 degrees east at each of 130,000 positions: cut into pieces on the map.
    Read ring = read_text(dir, L"ring.json", mapgen::stepping_ring(130000));
    ASSERT_EQ(ring.hr, S_OK) << com::narrow(ring.error);
    ComPtr<IGeometry> shape;
    features_of(ring.layers[0].get())->get_Shape(0, shape.put());
    long parts = 0;
    shape.as<IPolygon>()->get_PartCount(&parts);
    EXPECT_GT(parts, 1000);
    ComPtr<IEnvelope> e;
    shape->get_Envelope(e.put());
    double xmin = 0, xmax = 0;
    e->get_XMin(&xmin);
    e->get_XMax(&xmax);
    EXPECT_GE(xmin, -180);
    EXPECT_LE(xmax, 180);
}

// A data file is read only when it is a file on a disk: devices, by any of their names, and the
// \\.\ and other \\?\ namespaces are refused before they are opened, whether a document names
// them as a layer's source, DataFile.Open is given them or a document is opened from them.
TEST(GeoData, SourcesThatAreNotFilesOnADiskAreRefused) {
    TempFolder dir;
    const HRESULT refused = HRESULT_FROM_WIN32(ERROR_BAD_FILE_TYPE);
    std::vector<std::wstring> devices = {L"CON", L"NUL", L"COM1", L"CONIN$", L"LPT1.json", L"nul.", L"COM1 ", L"aux .json",
                                         dir.file(L"con"), L"\\\\.\\NUL", L"//./nul", L"\\\\.\\pipe\\kelpy",
                                         L"\\\\?\\GLOBALROOT\\Device\\Null"};
    for (const std::wstring& device : devices) {
        Read r = read_file(device);
        EXPECT_EQ(r.hr, refused) << com::narrow(device);
        EXPECT_NE(r.error.find(device + L": cannot open the data file: it is not a file on a disk"), std::wstring::npos)
            << com::narrow(r.error);

        std::string source;
        for (wchar_t c : device) source += c == L'\\' ? std::string("\\\\") : std::string(1, char(c));
        write_bytes(dir.file(L"map.json"), R"({"layers": [{"kind": "feature", "source": ")" + source + R"("}]})");
        auto doc = create<IMapDocument>(CLSID_MapDocument);
        EXPECT_EQ(doc->Open(com::Bstr(dir.file(L"map.json")).get()), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201));
        const std::wstring error = last_error();
        EXPECT_NE(error.find(L"map.json: layers[0].source: "), std::wstring::npos) << com::narrow(error);
        EXPECT_NE(error.find(L"it is not a file on a disk"), std::wstring::npos) << com::narrow(error);
        EXPECT_EQ(doc->Open(com::Bstr(device).get()), refused) << com::narrow(device);
    }
    // The system's own form of \\?\ (a document makes it a path on the current drive).
    EXPECT_EQ(read_file(L"\\??\\GLOBALROOT\\Device\\Null").hr, refused);
    // A name that passes but opens as something else than a disk file (under Wine, the Unix
    // null device through the drive of the root) is refused before it is read.
    if (GetFileAttributesW(L"Z:\\dev\\null") != INVALID_FILE_ATTRIBUTES) {
        Read r = read_file(L"Z:\\dev\\null");
        EXPECT_EQ(r.hr, refused);
        EXPECT_NE(r.error.find(L"it opens as a device or a pipe"), std::wstring::npos) << com::narrow(r.error);
    }

    // A \\?\X:\ path longer than MAX_PATH names a file on a disk, and opens.
    std::wstring folder = L"\\\\?\\" + dir.path();
    std::vector<std::wstring> made;
    while (folder.size() < 300) {
        folder += L"\\a-long-folder-name";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << GetLastError();
        made.push_back(folder);
    }
    const std::wstring file = folder + L"\\land.json";
    ASSERT_TRUE(CopyFileW((test::program_dir() + L"\\land-110m.json").c_str(), file.c_str(), FALSE)) << GetLastError();
    Read land = read_file(file);
    EXPECT_EQ(land.hr, S_OK) << com::narrow(land.error);
    EXPECT_EQ(land.layers.size(), 1u);
    land.layers.clear();
    DeleteFileW(file.c_str());
    for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}
