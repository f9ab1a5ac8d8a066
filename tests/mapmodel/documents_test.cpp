// Map documents: the sample loads into the map it describes, and broken documents each give a
// clear error (where and what) and no map.
#include "fixture.h"
#include "common/registration.h"

using namespace mm;

namespace {

constexpr HRESULT E_BAD_DOCUMENT = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);

struct Loaded {
    HRESULT hr;
    std::wstring error;
    ComPtr<IMap> map;
};

Loaded load(const std::wstring& json) {
    auto doc = create<IMapDocument>(CLSID_MapDocument);
    Loaded r;
    r.hr = doc->LoadText(com::Bstr(json).get(), com::Bstr(L"test.json").get());
    r.error = last_error();
    doc->get_Map(r.map.put());
    return r;
}

ComPtr<ILayer> layer_at(IMap* map, long i) {
    ComPtr<ILayer> l;
    EXPECT_EQ(map->get_Layer(i, l.put()), S_OK);
    return l;
}

template <class I>
ComPtr<I> renderer_of(ILayer* layer) {
    ComPtr<IUnknown> r;
    if (auto f = ComPtr<ILayer>(layer).query<IFeatureRendering>()) {
        ComPtr<IFeatureRenderer> fr;
        f->get_Renderer(fr.put());
        r = fr.as<IUnknown>();
    } else if (auto raster = ComPtr<ILayer>(layer).query<IRasterLayer>()) {
        ComPtr<IRasterRenderer> rr;
        raster->get_Renderer(rr.put());
        r = rr.as<IUnknown>();
    }
    return r.query<I>();
}

// A document around one layer.
std::wstring with_layer(const std::wstring& layer) { return L"{\"name\": \"M\", \"layers\": [" + layer + L"]}"; }

// Group layers nested `depth` deep around a plain layer.
std::wstring nested_groups(int depth) {
    std::wstring open, close;
    for (int i = 0; i < depth; ++i) open += L"{\"kind\": \"group\", \"layers\": [", close += L"]}";
    return open + L"{\"kind\": \"plain\"}" + close;
}

}  // namespace

TEST(Documents, TheSampleMapLoads) {
    auto doc = create<IMapDocument>(CLSID_MapDocument);
    std::wstring path = test::program_dir() + L"\\sample-map.json";
    ASSERT_EQ(doc->Open(com::Bstr(path).get()), S_OK) << com::narrow(last_error());
    ComPtr<IMap> map;
    doc->get_Map(map.put());
    ASSERT_TRUE(map);
    com::Bstr name;
    map->get_Name(name.put());
    EXPECT_EQ(name.str(), L"Kelp Bay");
    EXPECT_EQ(layer_names(map.get()), (std::vector<std::wstring>{L"Towns", L"Survey sites", L"Roads", L"Coastline", L"Land use",
                                                                 L"Land cover", L"Slope", L"Elevation", L"Aerial photo", L"Notes"}))
        << "the first listed layer is on top";

    EXPECT_TRUE(renderer_of<IClassBreaksRenderer>(layer_at(map.get(), 0).get()));
    VARIANT_BOOL valid = VARIANT_TRUE;
    layer_at(map.get(), 1)->get_Valid(&valid);
    EXPECT_EQ(valid, VARIANT_FALSE) << "the invalid layer";
    auto roads = renderer_of<IUniqueValueRenderer>(layer_at(map.get(), 2).get());
    ASSERT_TRUE(roads);
    com::Bstr label;
    roads->get_Label(com::Bstr(L"H").get(), label.put());
    EXPECT_EQ(label.str(), L"Highway");

    auto group = layer_at(map.get(), 4).as<ISubLayers>();
    long members = 0;
    group->get_Count(&members);
    EXPECT_EQ(members, 3);
    ComPtr<ILayer> households;
    group->get_Layer(2, households.put());
    EXPECT_TRUE(renderer_of<IPieChartRenderer>(households.get()));
    auto fc = [&](ILayer* l) {
        ComPtr<IFeatureClass> f;
        ComPtr<ILayer>(l).as<IFeatureLayer>()->get_FeatureClass(f.put());
        long type = 0;
        f->get_ShapeType(&type);
        return type;
    };
    EXPECT_EQ(fc(households.get()), GeometryPolygon);
    EXPECT_EQ(fc(layer_at(map.get(), 2).get()), GeometryPolyline);

    auto cover = renderer_of<IRasterUniqueValueRenderer>(layer_at(map.get(), 5).get());
    ASSERT_TRUE(cover);
    long classes = 0, in_first = 0;
    cover->get_ClassCount(&classes);
    cover->get_ValueCount(0, &in_first);
    EXPECT_EQ(classes, 3);
    EXPECT_EQ(in_first, 2);
    EXPECT_TRUE(renderer_of<IRasterClassifyRenderer>(layer_at(map.get(), 6).get()));
    EXPECT_TRUE(renderer_of<IRasterStretchRenderer>(layer_at(map.get(), 7).get()));
    EXPECT_TRUE(renderer_of<IRasterRgbRenderer>(layer_at(map.get(), 8).get()));
    auto notes = layer_at(map.get(), 9);
    EXPECT_FALSE(has<IFeatureLayer>(notes.get()) || has<IRasterLayer>(notes.get()) || has<IGroupLayer>(notes.get()));
}

TEST(Documents, BrokenDocumentsSayWhereAndWhat) {
    struct Case {
        std::wstring json, error;
    } cases[] = {
        {L"{\n  \"name\": \"M\",\n  \"layers\": [ }\n}", L"test.json:3:15: the text is not valid JSON"},
        {with_layer(L"{\"kind\": \"vector\", \"name\": \"A\"}"),
         L"test.json: layers[0].kind: unknown layer kind \"vector\" (expected feature, raster, group or plain)"},
        {with_layer(L"{\"kind\": \"feature\", \"name\": \"A\"}"), L"test.json: layers[0]: the member \"shapeType\" is missing"},
        {with_layer(L"{\"kind\": \"raster\", \"name\": \"R\", \"extent\": [0,0,1,1], \"rows\": 2}"),
         L"test.json: layers[0]: the member \"columns\" is missing"},
        {with_layer(L"{\"kind\": \"feature\", \"shapeType\": \"point\", \"renderer\": {\"kind\": \"rgb\"}}"),
         L"test.json: layers[0].renderer.kind: a feature layer cannot be drawn by a \"rgb\" renderer"},
        {with_layer(L"{\"kind\": \"raster\", \"extent\": [0,0,1,1], \"columns\": 1, \"rows\": 1, \"renderer\": {\"kind\": \"simple\"}}"),
         L"test.json: layers[0].renderer.kind: a raster layer cannot be drawn by a \"simple\" renderer"},
        {with_layer(L"{\"kind\": \"raster\", \"extent\": [0,0,1,1], \"columns\": 1, \"rows\": 1, \"bands\": 3, "
                    L"\"renderer\": {\"kind\": \"rgb\", \"blue\": 3}}"),
         L"test.json: layers[0].renderer.blue: band 3 is out of range: the raster has 3 bands"},
        {with_layer(L"{\"kind\": \"raster\", \"extent\": [0,0,1,1], \"columns\": 2, \"rows\": 2, \"cells\": [[1, 2, 3]]}"),
         L"test.json: layers[0].cells[0]: expected 4 cell values"},
        {with_layer(L"{\"kind\": \"feature\", \"shapeType\": \"polygon\", \"features\": [{\"point\": [1, 2]}]}"),
         L"test.json: layers[0].features[0]: the feature's shape does not match the layer's shape type 4"},
        {with_layer(L"{\"kind\": \"feature\", \"shapeType\": \"polygon\", \"features\": [{\"polygon\": [[0, 0], [1, 1]]}]}"),
         L"test.json: layers[0].features[0].polygon: a polygon has at least three points"},
        {with_layer(L"{\"kind\": \"feature\", \"shapeType\": 1, \"renderer\": {\"kind\": \"simple\", \"symbol\": "
                    L"{\"type\": \"marker\", \"colour\": \"#FF0000\"}}}"),
         L"test.json: layers[0].renderer.symbol: unknown member \"colour\""},
        {with_layer(L"{\"kind\": \"feature\", \"shapeType\": 1, \"renderer\": {\"kind\": \"simple\", \"symbol\": "
                    L"{\"type\": \"marker\", \"size\": -4}}}"),
         L"test.json: layers[0].renderer.symbol.size: The size must be from 0 to 1000 points"},
        {with_layer(L"{\"kind\": \"feature\", \"shapeType\": 1, \"renderer\": {\"kind\": \"uniqueValue\", \"values\": "
                    L"[{\"value\": \"a\"}, {\"value\": \"a\"}]}}"),
         L"test.json: layers[0].renderer.values[1]: The renderer already has a class for the value \"a\""},
        {with_layer(L"{\"kind\": \"feature\", \"shapeType\": 1, \"renderer\": {\"kind\": \"simple\", \"symbol\": "
                    L"{\"type\": \"fill\", \"color\": \"red\"}}}"),
         L"test.json: layers[0].renderer.symbol.color: a colour is \"#RRGGBB\" or [red, green, blue], not \"red\""},
        {with_layer(L"{\"kind\": \"plain\", \"minScale\": 1000, \"maxScale\": 5000}"),
         L"test.json: layers[0].maxScale: The minimum scale 1:1000 is below the maximum scale 1:5000"},
        {with_layer(L"{\"kind\": \"feature\", \"shapeType\": 1, \"renderer\": {\"kind\": \"classBreaks\", \"classes\": "
                    L"[{\"break\": 1, \"hidden\": 1}]}}"),
         L"test.json: layers[0].renderer.classes[0].hidden: expected"},
        {L"{\"units\": \"feet\"}", L"test.json: units: unknown units \"feet\" (expected meters or degrees)"},
        {L"{\"layers\": {}}", L"test.json: layers: expected an array, found an object"},
        {L"[1]", L"test.json: top level: expected an object, found an array"},
        // Nesting is bounded (the loader recurses into group layers and ramps): 60 levels of
        // groups are 122 levels of objects and arrays.
        {std::wstring(150, L'[') + std::wstring(150, L']'), L"test.json:1:101: arrays and objects nest deeper than 100 levels"},
        {with_layer(nested_groups(60)), L"test.json:1:1447: arrays and objects nest deeper than 100 levels"},
        {with_layer(L"{\"kind\": \"raster\", \"extent\": [0, 0, 1e999, 1], \"columns\": 1, \"rows\": 1}"),
         L"test.json:1:62: the number is too large"},
        {with_layer(L"{\"kind\": \"" + std::wstring(1000000, L'x') + L"\"}"),
         L"test.json: layers[0].kind: unknown layer kind \"" + std::wstring(60, L'x') + L"...\" (1000000 characters)"},
    };
    for (const Case& c : cases) {
        Loaded r = load(c.json);
        EXPECT_EQ(r.hr, E_BAD_DOCUMENT) << com::narrow(c.json);
        EXPECT_EQ(r.error.substr(0, c.error.size()), c.error) << "got: " << com::narrow(r.error);
        EXPECT_FALSE(r.map) << "no half-built map escapes";
        EXPECT_LT(r.error.size(), 400u) << "long texts are quoted short";
    }
}

TEST(Documents, AFailedLoadKeepsThePreviousMapAndLeavesNothingBehind) {
    auto doc = create<IMapDocument>(CLSID_MapDocument);
    ASSERT_EQ(doc->LoadText(com::Bstr(with_layer(L"{\"kind\": \"plain\", \"name\": \"Kept\"}")).get(), nullptr), S_OK);
    long before = live_objects();
    std::wstring broken = with_layer(L"{\"kind\": \"feature\", \"shapeType\": 4, \"features\": [{\"envelope\": [0,0,1,1]}], "
                                     L"\"renderer\": {\"kind\": \"classify\"}}");
    EXPECT_EQ(doc->LoadText(com::Bstr(broken).get(), com::Bstr(L"b.json").get()), E_BAD_DOCUMENT);
    EXPECT_EQ(live_objects(), before) << "the half-built layers were released";
    ComPtr<IMap> map;
    doc->get_Map(map.put());
    ASSERT_TRUE(map);
    EXPECT_EQ(layer_names(map.get()), (std::vector<std::wstring>{L"Kept"}));

    EXPECT_NE(doc->Open(com::Bstr(L"C:\\no\\such\\map.json").get()), S_OK);
    EXPECT_NE(last_error().find(L"C:\\no\\such\\map.json: cannot open the document"), std::wstring::npos)
        << com::narrow(last_error());
    EXPECT_NE(doc->Open(com::Bstr(test::program_dir()).get()), S_OK);
    EXPECT_EQ(last_error(), test::program_dir() + L": cannot open the document: it is a folder, not a document");
}
