#include "bench/common/map_maker.h"
#include <algorithm>
#include <string>
#include <vector>
#include "com/bstr.h"
#include "com/error.h"

namespace bench {

namespace {
using com::ComPtr;

constexpr int classes_per_layer = 10;
constexpr int nesting_depth = 8;

ComPtr<IColor> color(COLORREF c) {
    auto rgb = ComPtr<IRgbColor>::create(CLSID_RgbColor);
    com::check(rgb->put_RGB(LONG(c)));
    return rgb.as<IColor>();
}

COLORREF shade(int i) { return RGB(40 + (i * 53) % 200, 60 + (i * 97) % 180, 30 + (i * 31) % 210); }

ComPtr<ISymbol> fill(COLORREF c) {
    auto s = ComPtr<ISolidFillSymbol>::create(CLSID_SolidFillSymbol);
    com::check(s->putref_Color(color(c).get()));
    return s.as<ISymbol>();
}

ComPtr<ISymbol> line(COLORREF c) {
    auto s = ComPtr<ILineSymbol>::create(CLSID_LineSymbol);
    com::check(s->putref_Color(color(c).get()));
    com::check(s->put_Width(2.0));
    return s.as<ISymbol>();
}

ComPtr<ISymbol> marker(COLORREF c) {
    auto s = ComPtr<IMarkerSymbol>::create(CLSID_MarkerSymbol);
    com::check(s->putref_Color(color(c).get()));
    com::check(s->put_Size(8.0));
    return s.as<ISymbol>();
}

ComPtr<ILayer> feature_layer(const std::wstring& name, LONG shapeType, IFeatureRenderer* renderer) {
    auto layer = ComPtr<IFeatureRendering>::create(CLSID_FeatureLayer);
    auto features = ComPtr<IFeatureClass>::create(CLSID_FeatureClass);
    com::check(features->put_ShapeType(shapeType));
    com::check(layer->putref_FeatureClass(features.get()));
    com::check(layer->putref_Renderer(renderer));
    com::check(layer->put_Name(com::Bstr(name).get()));
    return layer.as<ILayer>();
}

ComPtr<ILayer> raster_layer(const std::wstring& name, IRasterRenderer* renderer) {
    auto layer = ComPtr<IRasterLayer>::create(CLSID_RasterLayer);
    com::check(layer->putref_Renderer(renderer));
    com::check(layer->put_Name(com::Bstr(name).get()));
    return layer.as<ILayer>();
}

// Five layers in drawing order: polygons by class breaks, lines by unique values, points with
// one symbol, a red-green-blue raster and a stretched raster.
std::vector<ComPtr<ILayer>> layer_set(int g) {
    const std::wstring n = std::to_wstring(g);
    auto breaks = ComPtr<IClassBreaksRenderer>::create(CLSID_ClassBreaksRenderer);
    com::check(breaks->put_Field(com::Bstr(L"POP").get()));
    com::check(breaks->put_BreakCount(classes_per_layer));
    for (int i = 0; i < classes_per_layer; ++i) {
        com::check(breaks->put_Break(i, 100.0 * (i + 1)));
        com::check(breaks->put_Label(i, com::Bstr(L"up to " + std::to_wstring(100 * (i + 1))).get()));
        com::check(breaks->putref_Symbol(i, fill(shade(i + g)).get()));
    }
    auto unique = ComPtr<IUniqueValueRenderer>::create(CLSID_UniqueValueRenderer);
    com::check(unique->put_FieldCount(1));
    com::check(unique->put_Field(0, com::Bstr(L"KIND").get()));
    for (int i = 0; i < classes_per_layer; ++i) {
        const std::wstring value = L"k" + std::to_wstring(i);
        com::check(unique->AddValue(com::Bstr(value).get(), com::Bstr(L"Kind " + value).get(), line(shade(3 * i + g)).get()));
    }
    auto simple = ComPtr<ISimpleRenderer>::create(CLSID_SimpleRenderer);
    com::check(simple->putref_Symbol(marker(shade(g)).get()));
    auto rgb = ComPtr<IRasterRenderer>::create(CLSID_RasterRgbRenderer);
    auto ramp = ComPtr<IAlgorithmicColorRamp>::create(CLSID_AlgorithmicColorRamp);
    com::check(ramp->putref_FromColor(color(RGB(0, 0, 128)).get()));
    com::check(ramp->putref_ToColor(color(RGB(255, 255, 0)).get()));
    auto stretch = ComPtr<IRasterStretchRenderer>::create(CLSID_RasterStretchRenderer);
    com::check(stretch->putref_ColorRamp(ramp.as<IColorRamp>().get()));

    return {feature_layer(L"Parcels " + n, GeometryPolygon, breaks.as<IFeatureRenderer>().get()),
            feature_layer(L"Roads " + n, GeometryPolyline, unique.as<IFeatureRenderer>().get()),
            feature_layer(L"Wells " + n, GeometryPoint, simple.as<IFeatureRenderer>().get()),
            raster_layer(L"Image " + n, rgb.get()), raster_layer(L"Elevation " + n, stretch.as<IRasterRenderer>().get())};
}

// Added at the top of the drawing order one by one: the last added is drawn first.
void add_group(IMap* map, int g) {
    const auto layers = layer_set(g);
    for (auto l = layers.rbegin(); l != layers.rend(); ++l) com::check(map->AddLayer(l->get()));
}

// A group layer holding a set of layers and, at depths below 8, a group like it: 8 deep.
ComPtr<ILayer> nested_group(int g, int depth) {
    auto group = ComPtr<IGroupLayer>::create(CLSID_GroupLayer);
    com::check(group->put_Name(com::Bstr(L"Group " + std::to_wstring(g) + L"." + std::to_wstring(depth)).get()));
    for (const auto& layer : layer_set(g * nesting_depth + depth)) com::check(group->Add(layer.get()));
    if (depth < nesting_depth) com::check(group->Add(nested_group(g, depth + 1).get()));
    return group.as<ILayer>();
}
}  // namespace

int items_per_group() { return 5 + (classes_per_layer + 1) * 2 + 1 + 4 + 1; }

ComPtr<IMap> make_map(int items) {
    auto map = ComPtr<IMap>::create(CLSID_Map);
    com::check(map->put_Name(com::Bstr(L"Benchmark").get()));
    const int groups = std::max(1, (items - 2 + items_per_group() / 2) / items_per_group());
    for (int g = 0; g < groups; ++g) add_group(map.get(), g);
    return map;
}

}  // namespace bench

namespace bench {

int items_per_nested_group() { return nesting_depth * (items_per_group() + 1); }

ComPtr<IMap> make_nested_map(int items) {
    auto map = ComPtr<IMap>::create(CLSID_Map);
    com::check(map->put_Name(com::Bstr(L"Nested benchmark").get()));
    const int stacks = std::max(1, (items - 2 + items_per_nested_group() / 2) / items_per_nested_group());
    for (int g = stacks - 1; g >= 0; --g) com::check(map->AddLayer(nested_group(g, 1).get()));
    return map;
}

}  // namespace bench

namespace bench {

namespace {
// A layer drawn by unique values: a legend row per value and one for the default class.
constexpr int items_per_counted_layer = 1 + classes_per_layer + 1;

ComPtr<IFeatureClass> counted_features(int features) {
    auto shared = ComPtr<IFeatureClass>::create(CLSID_FeatureClass);
    com::check(shared->put_ShapeType(GeometryPoint));
    for (int i = 0; i < features; ++i) {
        auto point = ComPtr<IPoint>::create(CLSID_Point);
        com::check(point->PutCoords(i % 100, i / 100));
        // Values k0 to k10: k10 has no class of its own and falls in the default class.
        VARIANT value;
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString((L"k" + std::to_wstring(i % (classes_per_layer + 1))).c_str());
        const HRESULT hr = shared->AddFeature(point.as<IGeometry>().get(), value);
        VariantClear(&value);
        com::check(hr);
    }
    return shared;
}
}  // namespace

ComPtr<IMap> make_counted_map(int items, int features, ComPtr<IFeatureClass>& shared) {
    shared = counted_features(features);
    auto map = ComPtr<IMap>::create(CLSID_Map);
    com::check(map->put_Name(com::Bstr(L"Counted benchmark").get()));
    const int layers = std::max(1, (items - 2 + items_per_counted_layer / 2) / items_per_counted_layer);
    for (int l = 0; l < layers; ++l) {
        auto unique = ComPtr<IUniqueValueRenderer>::create(CLSID_UniqueValueRenderer);
        com::check(unique->put_FieldCount(1));
        com::check(unique->put_Field(0, com::Bstr(L"KIND").get()));
        for (int i = 0; i < classes_per_layer; ++i) {
            const std::wstring value = L"k" + std::to_wstring(i);
            com::check(unique->AddValue(com::Bstr(value).get(), com::Bstr(L"Kind " + value).get(), line(shade(3 * i + l)).get()));
        }
        com::check(unique->putref_DefaultSymbol(line(shade(l)).get()));
        auto layer = ComPtr<IFeatureRendering>::create(CLSID_FeatureLayer);
        com::check(layer->putref_FeatureClass(shared.get()));
        com::check(layer->putref_Renderer(unique.as<IFeatureRenderer>().get()));
        com::check(layer->put_Name(com::Bstr(L"Roads " + std::to_wstring(l)).get()));
        com::check(map->AddLayer(layer.as<ILayer>().get()));
    }
    return map;
}

}  // namespace bench
