#include "mapmodel/document/map_loader.h"
#include <algorithm>
#include <map>
#include <optional>
#include <vector>
#include "com/bstr.h"
#include "com/variant.h"
#include "mapmodel/display/color.h"
#include "mapmodel/display/color_ramp.h"
#include "mapmodel/document/vocabulary.h"
#include "mapmodel/geodata/data_file.h"
#include "mapmodel/json/json_file.h"
#include "mapmodel/geometry/envelope.h"
#include "mapmodel/geometry/line.h"
#include "mapmodel/geometry/path.h"
#include "mapmodel/geometry/point.h"
#include "mapmodel/layers/feature_class.h"
#include "mapmodel/layers/feature_layer.h"
#include "mapmodel/layers/group_layer.h"
#include "mapmodel/layers/plain_layer.h"
#include "mapmodel/layers/raster_layer.h"
#include "mapmodel/map/map.h"
#include "mapmodel/renderers/class_breaks_renderer.h"
#include "mapmodel/renderers/pie_chart_renderer.h"
#include "mapmodel/renderers/raster_band_renderers.h"
#include "mapmodel/renderers/raster_classify_renderer.h"
#include "mapmodel/renderers/raster_unique_value_renderer.h"
#include "mapmodel/renderers/simple_renderer.h"
#include "mapmodel/renderers/unique_value_renderer.h"
#include "mapmodel/symbols/gradient_fill_symbol.h"
#include "mapmodel/symbols/line_symbol.h"
#include "mapmodel/symbols/marker_symbol.h"
#include "mapmodel/symbols/pie_chart_symbol.h"
#include "mapmodel/symbols/solid_fill_symbol.h"

namespace mapmodel::document {

namespace {

using com::ComPtr;

// Runs a model call for a node: a refusal by the model becomes a document error at that node.
void apply(const Node& n, HRESULT hr) {
    if (SUCCEEDED(hr)) return;
    try {
        com::check(hr);
    } catch (const com::ComError& e) {
        n.fail(e.description());
    }
}

com::Bstr bstr(const std::wstring& s) { return com::Bstr(s); }

// An enumeration member given by its word.
template <class E>
E named(const Node& n, std::span<const Word<E>> words) {
    std::wstring s = n.text(), list;
    for (const auto& w : words) {
        if (s == w.word) return w.value;
        list += (list.empty() ? L"" : L", ") + std::wstring(w.word);
    }
    n.fail(L"unknown value " + in_quotes(s) + L" (expected one of: " + list + L")");
}

// "#RRGGBB" or [red, green, blue].
COLORREF color(const Node& n) {
    if (n.is_string()) {
        std::wstring s = n.text();
        bool hex = s.size() == 7 && s[0] == L'#' && s.find_first_not_of(L"0123456789abcdefABCDEF", 1) == std::wstring::npos;
        if (!hex) n.fail(L"a colour is \"#RRGGBB\" or [red, green, blue], not " + in_quotes(s));
        unsigned long v = std::wcstoul(s.c_str() + 1, nullptr, 16);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    auto parts = n.items();
    if (parts.size() != 3) n.fail(L"a colour is \"#RRGGBB\" or [red, green, blue]");
    BYTE c[3];
    for (size_t i = 0; i < 3; ++i) {
        long v = parts[i].whole();
        if (v < 0 || v > 255) parts[i].fail(L"a colour channel is from 0 to 255");
        c[i] = BYTE(v);
    }
    return RGB(c[0], c[1], c[2]);
}

ComPtr<IColor> color_object(const Node& n) { return make_color(color(n)); }

Vec coords(const Node& n) {
    auto xy = n.items();
    if (xy.size() != 2) n.fail(L"a point is [x, y]");
    return {xy[0].number(), xy[1].number()};
}

// A list of at least `least` points; `fewer` says what is wrong with fewer.
std::vector<Vec> points(const Node& n, size_t least, const wchar_t* fewer) {
    std::vector<Vec> pts;
    for (const Node& p : n.items()) pts.push_back(coords(p));
    if (pts.size() < least) n.fail(fewer);
    return pts;
}

Bounds extent(const Node& n) {
    auto c = n.items();
    if (c.size() != 4) n.fail(L"an extent is [xmin, ymin, xmax, ymax]");
    Bounds b = Bounds::of(c[0].number(), c[1].number(), c[2].number(), c[3].number());
    if (b.width() <= 0 || b.height() <= 0) n.fail(L"the extent needs a width and a height");
    return b;
}

// ---- colour ramps and symbols

ComPtr<IColorRamp> ramp(const Node& n) {
    std::wstring type = n.at("type").text();
    if (type == L"algorithmic") {
        n.allow({"type", "name", "from", "to", "size"});
        auto r = AlgorithmicColorRamp::create(color(n.at("from")), color(n.at("to")));
        if (auto size = n.find("size")) apply(*size, r->put_Size(size->whole()));
        apply(n, r->put_Name(bstr(n.text_or("name", L"")).get()));
        return r.as<IColorRamp>();
    }
    if (type == L"multiPart") {
        n.allow({"type", "name", "parts", "size"});
        auto r = MultiPartColorRamp::create();
        for (const Node& part : n.at("parts").items()) apply(part, r->AddRamp(ramp(part).get()));
        if (auto size = n.find("size")) apply(*size, r->put_Size(size->whole()));
        apply(n, r->put_Name(bstr(n.text_or("name", L"")).get()));
        return r.as<IColorRamp>();
    }
    n.at("type").fail(L"unknown colour ramp type " + in_quotes(type) + L" (expected algorithmic or multiPart)");
}

LineStyle line_style(const Node& n) {
    return named<LineStyle>(n, kLineStyles);
}

ComPtr<ILineSymbol> line_symbol(const Node& n) {
    n.allow({"type", "color", "width", "style"});
    if (n.has("type") && n.at("type").text() != L"line") n.at("type").fail(L"an outline is a line symbol");
    auto s = LineSymbol::create();
    if (auto c = n.find("color")) apply(*c, s->putref_Color(color_object(*c).get()));
    if (auto w = n.find("width")) apply(*w, s->put_Width(w->number()));
    if (auto st = n.find("style")) apply(*st, s->put_Style(line_style(*st)));
    return s.as<ILineSymbol>();
}

// A fill's colour and outline; an outline of null means none, no outline the default one.
void fill_parts(const Node& n, IFillSymbol* fill) {
    if (auto c = n.find("color")) apply(*c, fill->putref_Color(color_object(*c).get()));
    if (!n.present("outline")) return;
    if (auto o = n.find("outline")) apply(*o, fill->putref_Outline(line_symbol(*o).get()));
    else apply(n, fill->putref_Outline(nullptr));
}

ComPtr<IChartSymbol> pie_symbol(const Node& n) {
    n.allow({"type", "size", "slices"});
    auto s = PieChartSymbol::create();
    if (auto size = n.find("size")) apply(*size, s->put_Size(size->number()));
    if (auto slices = n.find("slices")) {
        for (const Node& slice : slices->items()) {
            slice.allow({"color", "weight"});
            apply(slice, s->AddSlice(color_object(slice.at("color")).get(), slice.at("weight").number()));
        }
    }
    return s.as<IChartSymbol>();
}

ComPtr<ISymbol> symbol(const Node& n) {
    std::wstring type = n.at("type").text();
    if (type == L"fill") {
        n.allow({"type", "color", "style", "outline"});
        auto s = SolidFillSymbol::create();
        fill_parts(n, s.as<IFillSymbol>().get());
        if (auto st = n.find("style")) apply(*st, s->put_Style(named<FillStyle>(*st, kFillStyles)));
        return s.as<ISymbol>();
    }
    if (type == L"gradient") {
        n.allow({"type", "color", "outline", "ramp", "style", "angle", "intervals"});
        auto s = GradientFillSymbol::create();
        fill_parts(n, s.as<IFillSymbol>().get());
        if (auto r = n.find("ramp")) apply(*r, s->putref_ColorRamp(ramp(*r).get()));
        if (auto st = n.find("style")) apply(*st, s->put_Style(st->whole()));
        if (auto a = n.find("angle")) apply(*a, s->put_Angle(a->number()));
        if (auto i = n.find("intervals")) apply(*i, s->put_IntervalCount(i->whole()));
        return s.as<ISymbol>();
    }
    if (type == L"line") return line_symbol(n).as<ISymbol>();
    if (type == L"marker") {
        n.allow({"type", "color", "size", "style"});
        auto s = MarkerSymbol::create();
        if (auto c = n.find("color")) apply(*c, s->putref_Color(color_object(*c).get()));
        if (auto size = n.find("size")) apply(*size, s->put_Size(size->number()));
        if (auto st = n.find("style")) apply(*st, s->put_Style(named<MarkerStyle>(*st, kMarkerStyles)));
        return s.as<ISymbol>();
    }
    if (type == L"pie") return pie_symbol(n).as<ISymbol>();
    n.at("type").fail(L"unknown symbol type " + in_quotes(type) + L" (expected fill, gradient, line, marker or pie)");
}

// ---- features

long shape_type(const Node& n) {
    if (n.is_number()) return n.whole();
    return named<long>(n, kShapeTypes);
}

// Parts of at least `least` points each: the points one after another, and where each part
// after the first begins.
std::pair<std::vector<Vec>, std::vector<size_t>> parts(const Node& n, size_t least, const wchar_t* fewer) {
    std::vector<Vec> all;
    std::vector<size_t> starts;
    auto list = n.items();
    if (list.size() == 0) n.fail(L"expected one or more parts");
    for (const Node& part : list) {
        if (!all.empty()) starts.push_back(all.size());
        std::vector<Vec> p = points(part, least, fewer);
        all.insert(all.end(), p.begin(), p.end());
    }
    return {std::move(all), std::move(starts)};
}

// One feature: {"point": [x, y]}, {"points": [[x, y], ...]}, {"path": [[x, y], ...]},
// {"paths": [[[x, y], ...], ...]}, {"polygon": [[x, y], ...]}, {"rings": [[[x, y], ...], ...]}
// or {"envelope": [xmin, ymin, xmax, ymax]}, with an optional "value" (a number or a text).
void add_feature(const Node& n, IFeatureClass* features, long type) {
    n.allow({"point", "points", "path", "paths", "polygon", "rings", "envelope", "value"});
    ComPtr<IGeometry> shape;
    GeometryType kind = GeometryNull;
    if (auto p = n.find("point")) {
        shape = Point::create(coords(*p)).as<IGeometry>();
        kind = GeometryPoint;
    } else if (auto many = n.find("points")) {
        shape = Multipoint::create(points(*many, 1, L"a multipoint has at least one point")).as<IGeometry>();
        kind = GeometryPoint;  // in a layer of points
    } else if (auto paths = n.find("paths")) {
        auto [all, starts] = parts(*paths, 2, L"a path has at least two points");
        shape = Polyline::create(std::move(all), std::move(starts)).as<IGeometry>();
        kind = GeometryPolyline;
    } else if (auto rings = n.find("rings")) {
        auto [all, starts] = parts(*rings, 3, L"a ring has at least three points");
        shape = Polygon::create(std::move(all), std::move(starts)).as<IGeometry>();
        kind = GeometryPolygon;
    } else if (auto path = n.find("path")) {
        shape = Polyline::create(points(*path, 2, L"a path has at least two points")).as<IGeometry>();
        kind = GeometryPolyline;
    } else if (auto ring = n.find("polygon")) {
        shape = Polygon::create(points(*ring, 3, L"a polygon has at least three points")).as<IGeometry>();
        kind = GeometryPolygon;
    } else if (auto e = n.find("envelope")) {
        shape = Envelope::create(extent(*e)).as<IGeometry>();
        kind = GeometryPolygon;  // an area
    } else {
        n.fail(L"a feature needs a \"point\", \"points\", \"path\", \"paths\", \"polygon\", \"rings\" or \"envelope\"");
    }
    bool fits = (type != GeometryPoint && type != GeometryPolyline && type != GeometryPolygon) || kind == type;
    if (!fits) n.fail(L"the feature's shape does not match the layer's shape type " + std::to_wstring(type));
    com::Variant value;
    if (auto v = n.find("value")) {
        if (v->is_number()) value = com::Variant::from_double(v->number());
        else if (v->is_string()) value = com::Variant::from_string(v->text());
        else v->fail(L"a feature's value is a number or a text");
    }
    apply(n, features->AddFeature(shape.get(), *value.get()));
}

// ---- renderers

// Hides class i of a renderer where the node says "hidden": true (classes are shown by default).
template <class R>
void hide_class(const Node& n, R* renderer, long i) {
    if (!n.flag_or("hidden", false)) return;
    apply(n, com::ComPtr<R>(renderer).template as<IClassVisibility>()->put_ClassVisible(i, VARIANT_FALSE));
}

const wchar_t* const kFeatureRenderers = L"simple, classBreaks, uniqueValue or pieChart";
const wchar_t* const kRasterRenderers = L"rgb, stretch, uniqueValue or classify";

ComPtr<ISymbol> optional_symbol(const Node& n, const char* key) {
    auto s = n.find(key);
    return s ? symbol(*s) : nullptr;
}

// The classes of a classified renderer (classBreaks or classify) through its interface I: by
// position, each with a break, a label and a symbol.
template <class I>
void class_list(const Node& n, I* r) {
    auto classes = n.at("classes").items();
    apply(n, (r->*ClassCount<I>::put)(long(classes.size())));
    for (long i = 0; i < long(classes.size()); ++i) {
        const Node& c = classes[size_t(i)];
        c.allow({"break", "label", "symbol", "hidden"});
        apply(c, r->put_Break(i, c.at("break").number()));
        apply(c, r->put_Label(i, bstr(c.text_or("label", L"")).get()));
        apply(c, r->putref_Symbol(i, optional_symbol(c, "symbol").get()));
        hide_class(c, r, i);
    }
}

ComPtr<IFeatureRenderer> feature_renderer(const Node& n) {
    std::wstring kind = n.at("kind").text();
    if (kind == L"simple") {
        n.allow({"kind", "symbol", "label"});
        auto r = SimpleRenderer::create();
        apply(n, r->putref_Symbol(optional_symbol(n, "symbol").get()));
        apply(n, r->put_Label(bstr(n.text_or("label", L"")).get()));
        return r.as<IFeatureRenderer>();
    }
    if (kind == L"classBreaks") {
        n.allow({"kind", "field", "minimum", "classes"});
        auto r = ClassBreaksRenderer::create();
        apply(n, r->put_Field(bstr(n.text_or("field", L"")).get()));
        apply(n, r->put_MinimumBreak(n.number_or("minimum", 0.0)));
        class_list<IClassBreaksRenderer>(n, r.get());
        return r.as<IFeatureRenderer>();
    }
    if (kind == L"uniqueValue") {
        n.allow({"kind", "fields", "values", "defaultSymbol", "hidden"});
        auto r = UniqueValueRenderer::create();
        if (auto fields = n.find("fields")) {
            auto names = fields->items();
            apply(*fields, r->put_FieldCount(long(names.size())));
            for (long i = 0; i < long(names.size()); ++i) apply(names[size_t(i)], r->put_Field(i, bstr(names[size_t(i)].text()).get()));
        }
        auto values = n.at("values").items();
        for (long i = 0; i < long(values.size()); ++i) {
            const Node v = values[size_t(i)];
            v.allow({"value", "label", "symbol", "hidden"});
            std::wstring value = v.at("value").text();
            apply(v, r->AddValue(bstr(value).get(), bstr(v.text_or("label", value)).get(), optional_symbol(v, "symbol").get()));
            hide_class(v, r.get(), i);
        }
        apply(n, r->putref_DefaultSymbol(optional_symbol(n, "defaultSymbol").get()));
        hide_class(n, r.get(), long(values.size()));  // the renderer's "hidden" is its default class's
        return r.as<IFeatureRenderer>();
    }
    if (kind == L"pieChart") {
        n.allow({"kind", "symbol", "proportionalBySum"});
        auto r = PieChartRenderer::create();
        if (auto s = n.find("symbol")) {
            if (s->at("type").text() != L"pie") s->at("type").fail(L"a pie-chart renderer draws with a pie symbol");
            apply(*s, r->putref_ChartSymbol(pie_symbol(*s).get()));
        }
        apply(n, r->put_ProportionalBySum(com::vb(n.flag_or("proportionalBySum", false))));
        return r.as<IFeatureRenderer>();
    }
    if (kind == L"rgb" || kind == L"stretch" || kind == L"classify")
        n.at("kind").fail(L"a feature layer cannot be drawn by a " + in_quotes(kind) + L" renderer (feature renderers: " +
                          kFeatureRenderers + L")");
    n.at("kind").fail(L"unknown renderer kind " + in_quotes(kind) + L" (feature renderers: " + std::wstring(kFeatureRenderers) + L")");
}

// A band the raster has.
long band(const Node& n, long bands) {
    long b = n.whole();
    if (b < 0 || b >= bands)
        n.fail(L"band " + std::to_wstring(b) + L" is out of range: the raster has " + std::to_wstring(bands) +
               (bands == 1 ? L" band" : L" bands"));
    return b;
}

ComPtr<IRasterRenderer> raster_renderer(const Node& n, long bands) {
    std::wstring kind = n.at("kind").text();
    if (kind == L"rgb") {
        n.allow({"kind", "red", "green", "blue"});
        auto r = RasterRgbRenderer::create();
        long red = 0, green = std::min(1L, bands - 1), blue = std::min(2L, bands - 1);
        if (auto b = n.find("red")) red = band(*b, bands);
        if (auto b = n.find("green")) green = band(*b, bands);
        if (auto b = n.find("blue")) blue = band(*b, bands);
        apply(n, r->put_RedBand(red));
        apply(n, r->put_GreenBand(green));
        apply(n, r->put_BlueBand(blue));
        return r.as<IRasterRenderer>();
    }
    if (kind == L"stretch") {
        n.allow({"kind", "band", "ramp"});
        auto r = RasterStretchRenderer::create();
        if (auto b = n.find("band")) apply(*b, r->put_Band(band(*b, bands)));
        if (auto rp = n.find("ramp")) apply(*rp, r->putref_ColorRamp(ramp(*rp).get()));
        return r.as<IRasterRenderer>();
    }
    if (kind == L"uniqueValue") {
        n.allow({"kind", "field", "classes"});
        auto r = RasterUniqueValueRenderer::create();
        apply(n, r->put_Field(bstr(n.text_or("field", L"")).get()));
        auto classes = n.at("classes").items();
        apply(n, r->put_ClassCount(long(classes.size())));
        for (long i = 0; i < long(classes.size()); ++i) {
            // A class is its list of values, or {"values": [...], "hidden": true}.
            const Node c = classes[size_t(i)];
            const bool listed = c.value().is_array();
            if (!listed) c.allow({"values", "hidden"});
            for (const Node& v : (listed ? c : c.at("values")).items()) {
                v.allow({"value", "text", "symbol"});
                double value = v.at("value").number();
                apply(v, r->AddValue(i, value, bstr(v.text_or("text", L"")).get(), optional_symbol(v, "symbol").get()));
            }
            if (!listed) hide_class(c, r.get(), i);
        }
        return r.as<IRasterRenderer>();
    }
    if (kind == L"classify") {
        n.allow({"kind", "field", "classes"});
        auto r = RasterClassifyRenderer::create();
        apply(n, r->put_Field(bstr(n.text_or("field", L"")).get()));
        class_list<IRasterClassifyRenderer>(n, r.get());
        return r.as<IRasterRenderer>();
    }
    if (kind == L"simple" || kind == L"classBreaks" || kind == L"pieChart")
        n.at("kind").fail(L"a raster layer cannot be drawn by a " + in_quotes(kind) + L" renderer (raster renderers: " +
                          kRasterRenderers + L")");
    n.at("kind").fail(L"unknown renderer kind " + in_quotes(kind) + L" (raster renderers: " + std::wstring(kRasterRenderers) + L")");
}

// ---- layers

// The members every layer has: "kind", "name", "valid", "visible" and the scale range
// ("minScale", "maxScale"; 0 or absent: no limit).
#define KELPY_LAYER_MEMBERS "kind", "name", "valid", "visible", "minScale", "maxScale"

template <class L>
void common(const Node& n, L* layer, const std::wstring& name = L"") {
    apply(n, layer->put_Name(bstr(n.text_or("name", name)).get()));
    apply(n, layer->put_Valid(com::vb(n.flag_or("valid", true))));
    apply(n, layer->put_Visible(com::vb(n.flag_or("visible", true))));
    if (auto v = n.find("minScale")) apply(*v, layer->put_MinimumScale(v->number()));
    if (auto v = n.find("maxScale")) apply(*v, layer->put_MaximumScale(v->number()));
}

// The data files that a document's layers name as their sources, each read once per document,
// relative to the document's folder.
struct Sources {
    std::wstring folder;  // of the document; empty: the current folder
    bool read = true;     // false: the files are not read (the layers get empty feature classes)
    std::map<std::wstring, std::vector<ComPtr<ILayer>>> files;
};

std::wstring source_path(const Sources& s, std::wstring source) {
    for (wchar_t& c : source)
        if (c == L'/') c = L'\\';
    const bool absolute = (source.size() >= 2 && source[1] == L':') || (!source.empty() && source[0] == L'\\');
    return json::full_path_of(absolute || s.folder.empty() ? source : s.folder + L"\\" + source);
}

std::wstring source_object(IFeatureClass* features) {
    com::Bstr object;
    com::check(features->get_SourceObject(object.put()));
    return object.str();
}

// The layer of a data file that a document's layer names: its source, and the "object" (of a
// TopoJSON file) and "shapeType" that pick one of the file's layers where it has several.
ComPtr<IFeatureLayer> source_layer(const Node& n, Sources& s) {
    const Node source = n.at("source");
    const std::wstring path = source_path(s, source.text());
    const std::optional<std::wstring> object = n.has("object") ? std::optional(n.at("object").text()) : std::nullopt;
    const bool typed = n.has("shapeType");
    const long type = typed ? shape_type(n.at("shapeType")) : long(GeometryNull);
    if (!s.read) {
        auto features = FeatureClass::create();
        features->set_source(path, object.value_or(L""));
        apply(n, features->put_ShapeType(type));
        auto l = FeatureLayer::create();
        apply(n, l->putref_FeatureClass(features.as<IFeatureClass>().get()));
        return l.as<IFeatureLayer>();
    }
    auto known = s.files.find(path);
    if (known == s.files.end()) {
        try {
            known = s.files.emplace(path, geodata::read_data_file(path)).first;
        } catch (const com::ComError& e) {
            source.fail(e.description());
        }
    }
    std::vector<ComPtr<IFeatureLayer>> fits;
    std::vector<std::wstring> objects;  // of a TopoJSON file, in order
    for (const auto& layer : known->second) {
        auto l = layer.as<IFeatureLayer>();
        ComPtr<IFeatureClass> features;
        apply(source, l->get_FeatureClass(features.put()));
        long t = 0;
        apply(source, features->get_ShapeType(&t));
        const std::wstring o = source_object(features.get());
        if (!o.empty() && std::find(objects.begin(), objects.end(), o) == objects.end()) objects.push_back(o);
        if ((!object || o == *object) && (!typed || t == type)) fits.push_back(l);
    }
    if (fits.size() == 1) return fits.front();
    std::wstring listed;
    for (const auto& o : objects) listed += (listed.empty() ? L"" : L", ") + in_quotes(o);
    if (object && std::find(objects.begin(), objects.end(), *object) == objects.end())
        n.at("object").fail(L"the file has no object " + in_quotes(*object) +
                            (objects.empty() ? std::wstring(L" (it is not TopoJSON)") : L" (its objects: " + listed + L")"));
    if (fits.empty()) n.at("shapeType").fail(L"the file has no features of this shape type");
    if (!object && objects.size() > 1) source.fail(L"the file has several objects (" + listed + L"): say which with \"object\"");
    source.fail(L"the file's features are of several shape types: say which with \"shapeType\"");
}

ComPtr<ILayer> layer(const Node& n, Sources& s);

ComPtr<ILayer> feature_layer(const Node& n, Sources& s) {
    n.allow({KELPY_LAYER_MEMBERS, "shapeType", "features", "renderer", "source", "object"});
    auto l = FeatureLayer::create();
    if (n.has("source")) {
        if (n.has("features")) n.at("features").fail(L"a layer with a \"source\" takes its features from the file");
        auto from = source_layer(n, s);
        ComPtr<IFeatureClass> features;
        ComPtr<IFeatureRenderer> renderer;
        apply(n, from->get_FeatureClass(features.put()));
        apply(n, from.as<IFeatureRendering>()->get_Renderer(renderer.put()));
        com::Bstr name;
        apply(n, from.as<ILayer>()->get_Name(name.put()));
        apply(n, l->put_Name(bstr(name.str()).get()));
        common(n, l.get(), name.str());
        apply(n, l->putref_FeatureClass(features.get()));
        apply(n, l->putref_Renderer(renderer.get()));
    } else {
        if (n.has("object")) n.at("object").fail(L"only a layer with a \"source\" names an object");
        common(n, l.get());
        auto features = FeatureClass::create();
        long type = shape_type(n.at("shapeType"));
        apply(n, features->put_ShapeType(type));
        if (auto list = n.find("features"))
            for (const Node& f : list->items()) add_feature(f, features.get(), type);
        apply(n, l->putref_FeatureClass(features.as<IFeatureClass>().get()));
    }
    if (auto r = n.find("renderer")) apply(*r, l->putref_Renderer(feature_renderer(*r).get()));
    return l.as<ILayer>();
}

ComPtr<ILayer> raster_layer(const Node& n) {
    n.allow({KELPY_LAYER_MEMBERS, "extent", "columns", "rows", "bands", "cells", "renderer"});
    auto l = RasterLayer::create();
    common(n, l.get());
    long columns = n.at("columns").whole(), rows = n.at("rows").whole(), bands = n.whole_or("bands", 1);
    if (columns < 1 || rows < 1 || bands < 1) n.fail(L"a raster has at least one column, row and band");
    apply(n, l->SetSize(columns, rows, bands));
    apply(n, l->putref_Extent(make_envelope(extent(n.at("extent"))).get()));
    if (auto cells = n.find("cells")) {
        auto per_band = cells->items();
        if (long(per_band.size()) != bands)
            cells->fail(L"expected " + std::to_wstring(bands) + L" lists of cells, one per band, found " +
                        std::to_wstring(per_band.size()));
        for (long b = 0; b < bands; ++b) {
            auto values = per_band[size_t(b)].items();
            if (long(values.size()) != columns * rows)
                per_band[size_t(b)].fail(L"expected " + std::to_wstring(columns * rows) + L" cell values (" +
                                         std::to_wstring(columns) + L" columns x " + std::to_wstring(rows) +
                                         L" rows, row by row), found " + std::to_wstring(values.size()));
            for (long i = 0; i < columns * rows; ++i)
                apply(values[size_t(i)], l->put_CellValue(b, i % columns, i / columns, values[size_t(i)].number()));
        }
    }
    if (auto r = n.find("renderer")) apply(*r, l->putref_Renderer(raster_renderer(*r, bands).get()));
    return l.as<ILayer>();
}

ComPtr<ILayer> group_layer(const Node& n, Sources& s) {
    n.allow({KELPY_LAYER_MEMBERS, "layers"});
    auto g = GroupLayer::create();
    common(n, g.get());
    if (auto members = n.find("layers"))
        for (const Node& m : members->items()) apply(m, g->Add(layer(m, s).get()));  // in order: Add appends
    return g.as<ILayer>();
}

ComPtr<ILayer> layer(const Node& n, Sources& s) {
    std::wstring kind = n.at("kind").text();
    if (kind == L"feature") return feature_layer(n, s);
    if (kind == L"raster") return raster_layer(n);
    if (kind == L"group") return group_layer(n, s);
    if (kind == L"plain") {
        n.allow({KELPY_LAYER_MEMBERS});
        auto l = PlainLayer::create();
        common(n, l.get());
        return l.as<ILayer>();
    }
    n.at("kind").fail(L"unknown layer kind " + in_quotes(kind) + L" (expected feature, raster, group or plain)");
}

}  // namespace

com::ComPtr<Map> load_map(std::string_view text, std::wstring_view name, DataFiles files) {
    Sources sources;
    sources.read = files == DataFiles::Read;
    const std::wstring document(name);
    if (const size_t slash = document.find_last_of(L"\\/"); slash != std::wstring::npos)
        sources.folder = json::full_path_of(document.substr(0, slash + 1));
    nlohmann::json root = parse(text, name);
    Node doc(root, name, "");
    doc.allow({"name", "units", "extent", "layers"});
    auto map = Map::create();
    apply(doc, map->put_Name(bstr(doc.text_or("name", L"Layers")).get()));
    if (auto units = doc.find("units")) {
        const std::optional<MapUnits> u = units_named(units->text());
        if (!u || *u == MapUnits::Unknown)
            units->fail(L"unknown units " + in_quotes(units->text()) + L" (expected meters or degrees)");
        apply(*units, map->put_Units(bstr(units->text()).get()));
    }
    std::vector<ComPtr<ILayer>> layers;
    if (auto list = doc.find("layers"))
        for (const Node& l : list->items()) layers.push_back(layer(l, sources));
    // Listed from the top of the drawing order; each added layer goes on top.
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) apply(doc, map->AddLayer(it->get()));
    if (auto e = doc.find("extent")) apply(*e, map->putref_Extent(make_envelope(extent(*e)).get()));
    return map;
}

}  // namespace mapmodel::document
