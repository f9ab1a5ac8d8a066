#include "mapmodel/document/map_saver.h"
#include <shlwapi.h>
#include <cmath>
#include <cstdio>
#include "com/bstr.h"
#include "com/variant.h"
#include "mapmodel/document/json_writer.h"
#include "mapmodel/document/map_loader.h"
#include "mapmodel/document/vocabulary.h"
#include "mapmodel/json/json_file.h"
#include "mapmodel/json/json_reader.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/renderers/class_list.h"

namespace mapmodel::document {

namespace {

using com::ComPtr;
using Json = nlohmann::ordered_json;

// Where the saver is in the document it writes, for errors: the member's path as the loader
// names it (layers[2].renderer), and how many group layers and colour ramps enclose it.
class Place {
public:
    Place() = default;
    Place operator/(const char* key) const { return Place(path_.empty() ? key : path_ + "." + key, nesting_); }
    Place operator[](long i) const { return Place(path_ + "[" + std::to_string(i) + "]", nesting_); }
    // One level further into groups or ramps. A document nests at most kMaxDepth levels of
    // arrays and objects, so deeper models (a host's group that contains itself, say) end here
    // rather than at the end of the stack.
    Place inside() const {
        if (nesting_ >= kMaxDepth) fail(L"groups or colour ramps nest deeper than a document can hold");
        return Place(path_, nesting_ + 1);
    }

    [[noreturn]] void fail(const std::wstring& what) const {
        com::raise(E_BAD_DOCUMENT, (path_.empty() ? std::wstring(L"top level") : com::widen(path_)) + L": " + what);
    }
    // A model call made for this place: its failure is an error here.
    void call(HRESULT hr) const {
        if (SUCCEEDED(hr)) return;
        try {
            com::check(hr);
        } catch (const com::ComError& e) {
            fail(e.description());
        }
    }

private:
    Place(std::string path, int nesting) : path_(std::move(path)), nesting_(nesting) {}
    std::string path_;
    int nesting_ = 0;
};

// ---- values

// A text as UTF-8; text that is not valid UTF-16 (a lone surrogate) cannot be written exactly.
Json text(const Place& at, std::wstring_view s) {
    if (s.empty()) return "";
    int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) at.fail(L"the text is not valid Unicode (it holds half of a surrogate pair)");
    std::string utf8(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, s.data(), int(s.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}
Json text(const Place& at, const com::Bstr& s) { return text(at, s.view()); }

// A number: whole numbers as integers (as people write them), others in the shortest form that
// reads back exactly.
Json number(const Place& at, double d) {
    if (!std::isfinite(d)) at.fail(L"the number is not finite");
    constexpr double kExact = 9007199254740992.0;  // 2^53: every whole double below is exact
    if (d == std::floor(d) && std::fabs(d) < kExact && !(d == 0 && std::signbit(d))) return static_cast<long long>(d);
    return d;
}

Json flag(VARIANT_BOOL b) { return com::is_true(b); }

Json color(const Place& at, IColor* c) {
    if (!c) at.fail(L"the colour is Nothing");
    long bgr = 0;
    at.call(c->get_RGB(&bgr));
    if (bgr < 0 || bgr > 0xFFFFFF) at.fail(L"the colour " + std::to_wstring(bgr) + L" is not an RGB value");
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", unsigned(GetRValue(bgr)), unsigned(GetGValue(bgr)), unsigned(GetBValue(bgr)));
    return hex;
}

template <class E>
Json word(const Place& at, std::span<const Word<E>> words, E value, const wchar_t* what) {
    const wchar_t* w = word_of(words, value);
    if (!w) at.fail(L"the " + std::wstring(what) + L" " + std::to_wstring(long(value)) + L" has no name in documents");
    return text(at, w);
}

Json coordinates(const Place& at, Vec p) { return Json::array({number(at, p.x), number(at, p.y)}); }

Json extent(const Place& at, const Bounds& b) {
    return Json::array({number(at, b.xmin), number(at, b.ymin), number(at, b.xmax), number(at, b.ymax)});
}

// The members of a composite (the parts of a ramp, the layers of a group or a map) as a list:
// `count` and `item` read them (a failure is an error at `at`), `write` writes each at its place
// in `list`.
template <class O, class I, class T, class W>
Json members(const Place& at, const Place& list, O* composite, HRESULT (STDMETHODCALLTYPE I::*count)(long*),
             HRESULT (STDMETHODCALLTYPE I::*item)(long, T**), W&& write) {
    long n = 0;
    at.call((composite->*count)(&n));
    Json written = Json::array();
    for (long i = 0; i < n; ++i) {
        ComPtr<T> member;
        at.call((composite->*item)(i, member.put()));
        written.push_back(write(list[i], member.get()));
    }
    return written;
}

// ---- colour ramps and symbols

Json ramp(const Place& at, IColorRamp* r);

// The natural size of a multi-part ramp: its parts' sizes added up.
long natural_size(const Place& at, IMultiPartColorRamp* r) {
    long parts = 0, total = 0;
    at.call(r->get_RampCount(&parts));
    for (long i = 0; i < parts; ++i) {
        ComPtr<IColorRamp> part;
        at.call(r->get_Ramp(i, part.put()));
        long n = 0;
        if (part) at.call(part->get_Size(&n));
        total += n;
    }
    return std::max(total, 1L);
}

Json ramp(const Place& outer, IColorRamp* r) {
    if (!r) return nullptr;
    Place at = outer.inside();
    Json j = Json::object();
    com::Bstr name;
    long size = 0;
    at.call(r->get_Name(name.put()));
    at.call(r->get_Size(&size));
    if (auto a = ComPtr<IColorRamp>(r).query<IAlgorithmicColorRamp>()) {
        ComPtr<IColor> from, to;
        at.call(a->get_FromColor(from.put()));
        at.call(a->get_ToColor(to.put()));
        j["type"] = "algorithmic";
        j["name"] = text(at / "name", name);
        j["from"] = color(at / "from", from.get());
        j["to"] = color(at / "to", to.get());
        j["size"] = size;
        return j;
    }
    if (auto m = ComPtr<IColorRamp>(r).query<IMultiPartColorRamp>()) {
        auto part = [](const Place& place, IColorRamp* member) {
            if (!member) place.fail(L"the part is Nothing");
            return ramp(place, member);
        };
        Json parts =
            members(at, at / "parts", m.get(), &IMultiPartColorRamp::get_RampCount, &IMultiPartColorRamp::get_Ramp, part);
        j["type"] = "multiPart";
        j["name"] = text(at / "name", name);
        j["parts"] = std::move(parts);
        // Without a size of its own, the ramp's size follows its parts.
        if (size != natural_size(at, m.get())) j["size"] = size;
        return j;
    }
    at.fail(L"a colour ramp of a kind that documents cannot hold (they hold algorithmic and multi-part ramps)");
}

// A line or a marker symbol: a colour, a measure in points (its `key`, read by `get`) and a
// style of the `words`.
template <class S, class E>
Json line_or_marker(const Place& at, S* s, const char* type, const char* key,
                    HRESULT (STDMETHODCALLTYPE S::*get)(double*), std::span<const Word<E>> words, const wchar_t* what) {
    ComPtr<IColor> c;
    double points = 0;
    E style{};
    at.call(s->get_Color(c.put()));
    at.call((s->*get)(&points));
    at.call(s->get_Style(&style));
    return {{"type", type},
            {"color", color(at / "color", c.get())},
            {key, number(at / key, points)},
            {"style", word<E>(at / "style", words, style, what)}};
}

Json line(const Place& at, ILineSymbol* s) {
    return line_or_marker<ILineSymbol, LineStyle>(at, s, "line", "width", &ILineSymbol::get_Width, kLineStyles, L"line style");
}

// What both fills have: a colour and an outline (null: none).
void fill_parts(const Place& at, IFillSymbol* s, Json& j) {
    ComPtr<IColor> c;
    ComPtr<ILineSymbol> outline;
    at.call(s->get_Color(c.put()));
    at.call(s->get_Outline(outline.put()));
    j["color"] = color(at / "color", c.get());
    j["outline"] = outline ? line(at / "outline", outline.get()) : Json(nullptr);
}

Json pie(const Place& at, IChartSymbol* s) {
    double size = 0;
    long count = 0;
    at.call(s->get_Size(&size));
    at.call(s->get_SliceCount(&count));
    Json slices = Json::array();
    for (long i = 0; i < count; ++i) {
        Place slice = (at / "slices")[i];
        ComPtr<IColor> c;
        double weight = 0;
        at.call(s->get_SliceColor(i, c.put()));
        at.call(s->get_SliceWeight(i, &weight));
        slices.push_back({{"color", color(slice / "color", c.get())}, {"weight", number(slice / "weight", weight)}});
    }
    return {{"type", "pie"}, {"size", number(at / "size", size)}, {"slices", std::move(slices)}};
}

Json symbol(const Place& at, ISymbol* s) {
    if (!s) return nullptr;
    ComPtr<ISymbol> p(s);
    if (auto g = p.query<IGradientFillSymbol>()) {
        Json j = {{"type", "gradient"}};
        fill_parts(at, g.as<IFillSymbol>().get(), j);
        ComPtr<IColorRamp> r;
        long style = 0, intervals = 0;
        double angle = 0;
        at.call(g->get_ColorRamp(r.put()));
        at.call(g->get_Style(&style));
        at.call(g->get_Angle(&angle));
        at.call(g->get_IntervalCount(&intervals));
        j["ramp"] = ramp(at / "ramp", r.get());
        j["style"] = style;
        j["angle"] = number(at / "angle", angle);
        j["intervals"] = intervals;
        return j;
    }
    if (auto f = p.query<ISolidFillSymbol>()) {
        Json j = {{"type", "fill"}};
        fill_parts(at, f.as<IFillSymbol>().get(), j);
        FillStyle style = FillSolid;
        at.call(f->get_Style(&style));
        j["style"] = word<FillStyle>(at / "style", kFillStyles, style, L"fill style");
        return j;
    }
    if (auto l = p.query<ILineSymbol>()) return line(at, l.get());
    if (auto m = p.query<IMarkerSymbol>())
        return line_or_marker<IMarkerSymbol, MarkerStyle>(at, m.get(), "marker", "size", &IMarkerSymbol::get_Size,
                                                          kMarkerStyles, L"marker style");
    if (auto c = p.query<IChartSymbol>()) return pie(at, c.get());
    at.fail(L"a symbol of a kind that documents cannot hold (they hold fill, gradient, line, marker and pie symbols)");
}

// ---- renderers

// Which classes of a renderer are hidden, read through IClassVisibility where it answers it
// (every class is shown where it does not). A hidden class is saved with "hidden": true; a
// shown one adds nothing, so a map that hides nothing is saved as it always was.
class Hidden {
public:
    explicit Hidden(IUnknown* renderer) : visibility_(com::ComPtr<IUnknown>(renderer).query<IClassVisibility>()) {}
    bool operator()(const Place& at, long index) const {
        if (!visibility_) return false;
        VARIANT_BOOL visible = VARIANT_TRUE;
        at.call(visibility_->get_ClassVisible(index, &visible));
        return !com::is_true(visible);
    }
    // Adds "hidden": true to a class's object when the class is hidden.
    void mark(const Place& at, long index, Json& j) const {
        if ((*this)(at, index)) j["hidden"] = true;
    }

private:
    com::ComPtr<IClassVisibility> visibility_;
};

// The classes of a classified renderer (class breaks or raster classify) through its interface
// I: by position, each with a break, a label and a symbol.
template <class I>
Json classes_by_break(const Place& at, I* r) {
    long count = 0;
    at.call((r->*ClassCount<I>::get)(&count));
    Json classes = Json::array();
    const Hidden hidden(r);
    for (long i = 0; i < count; ++i) {
        Place c = (at / "classes")[i];
        double brk = 0;
        com::Bstr label;
        ComPtr<ISymbol> s;
        c.call(r->get_Break(i, &brk));
        c.call(r->get_Label(i, label.put()));
        c.call(r->get_Symbol(i, s.put()));
        Json j = {{"break", number(c / "break", brk)}, {"label", text(c / "label", label)}, {"symbol", symbol(c / "symbol", s.get())}};
        hidden.mark(c, i, j);
        classes.push_back(std::move(j));
    }
    return classes;
}

Json feature_renderer(const Place& at, IFeatureRenderer* renderer) {
    if (!renderer) return nullptr;
    ComPtr<IFeatureRenderer> r(renderer);
    if (auto simple = r.query<ISimpleRenderer>()) {
        ComPtr<ISymbol> s;
        com::Bstr label;
        at.call(simple->get_Symbol(s.put()));
        at.call(simple->get_Label(label.put()));
        return {{"kind", "simple"}, {"label", text(at / "label", label)}, {"symbol", symbol(at / "symbol", s.get())}};
    }
    if (auto breaks = r.query<IClassBreaksRenderer>()) {
        com::Bstr field;
        double minimum = 0;
        at.call(breaks->get_Field(field.put()));
        at.call(breaks->get_MinimumBreak(&minimum));
        return {{"kind", "classBreaks"},
                {"field", text(at / "field", field)},
                {"minimum", number(at / "minimum", minimum)},
                {"classes", classes_by_break(at, breaks.get())}};
    }
    if (auto unique = r.query<IUniqueValueRenderer>()) {
        long fields = 0, values = 0;
        at.call(unique->get_FieldCount(&fields));
        at.call(unique->get_ValueCount(&values));
        Json names = Json::array(), classes = Json::array();
        const Hidden hidden(unique.get());
        for (long i = 0; i < fields; ++i) {
            com::Bstr name;
            at.call(unique->get_Field(i, name.put()));
            names.push_back(text((at / "fields")[i], name));
        }
        for (long i = 0; i < values; ++i) {
            Place v = (at / "values")[i];
            com::Bstr value, label;
            ComPtr<ISymbol> s;
            v.call(unique->get_Value(i, value.put()));
            v.call(unique->get_Label(value.get(), label.put()));
            v.call(unique->get_Symbol(value.get(), s.put()));
            Json j = {{"value", text(v / "value", value)}, {"label", text(v / "label", label)}, {"symbol", symbol(v / "symbol", s.get())}};
            hidden.mark(v, i, j);
            classes.push_back(std::move(j));
        }
        ComPtr<ISymbol> fallback;
        at.call(unique->get_DefaultSymbol(fallback.put()));
        Json j = {{"kind", "uniqueValue"}};
        if (fields > 0) j["fields"] = std::move(names);  // a renderer has at least one field: none means the default
        j["values"] = std::move(classes);
        j["defaultSymbol"] = symbol(at / "defaultSymbol", fallback.get());
        hidden.mark(at, values, j);  // the default class: after the values
        return j;
    }
    if (auto chart = r.query<IChartRenderer>()) {
        auto pies = r.query<IPieChartRenderer>();
        if (!pies) at.fail(L"a chart renderer that does not draw pie charts");
        ComPtr<IChartSymbol> s;
        VARIANT_BOOL by_sum = VARIANT_FALSE;
        at.call(chart->get_ChartSymbol(s.put()));
        at.call(pies->get_ProportionalBySum(&by_sum));
        return {{"kind", "pieChart"}, {"proportionalBySum", flag(by_sum)}, {"symbol", s ? pie(at / "symbol", s.get()) : Json(nullptr)}};
    }
    at.fail(L"a renderer of a kind that documents cannot hold (feature renderers: simple, classBreaks, uniqueValue or pieChart)");
}

Json raster_renderer(const Place& at, IRasterRenderer* renderer) {
    if (!renderer) return nullptr;
    ComPtr<IRasterRenderer> r(renderer);
    if (auto rgb = r.query<IRasterRgbRenderer>()) {
        long red = 0, green = 0, blue = 0;
        at.call(rgb->get_RedBand(&red));
        at.call(rgb->get_GreenBand(&green));
        at.call(rgb->get_BlueBand(&blue));
        return {{"kind", "rgb"}, {"red", red}, {"green", green}, {"blue", blue}};
    }
    if (auto stretch = r.query<IRasterStretchRenderer>()) {
        long band = 0;
        ComPtr<IColorRamp> colors;
        at.call(stretch->get_Band(&band));
        at.call(stretch->get_ColorRamp(colors.put()));
        return {{"kind", "stretch"}, {"band", band}, {"ramp", ramp(at / "ramp", colors.get())}};
    }
    if (auto unique = r.query<IRasterUniqueValueRenderer>()) {
        com::Bstr field;
        long count = 0;
        at.call(unique->get_Field(field.put()));
        at.call(unique->get_ClassCount(&count));
        Json classes = Json::array();
        const Hidden hidden(unique.get());
        for (long i = 0; i < count; ++i) {
            Place c = (at / "classes")[i];
            long values = 0;
            c.call(unique->get_ValueCount(i, &values));
            Json list = Json::array();
            for (long k = 0; k < values; ++k) {
                Place v = c[k];
                double value = 0;
                com::Bstr label;
                ComPtr<ISymbol> s;
                v.call(unique->get_Value(i, k, &value));
                v.call(unique->get_Text(i, k, label.put()));
                v.call(unique->get_Symbol(i, k, s.put()));
                list.push_back({{"value", number(v / "value", value)}, {"text", text(v / "text", label)}, {"symbol", symbol(v / "symbol", s.get())}});
            }
            // A hidden class is an object, since a list has no room for the mark.
            if (hidden(c, i)) classes.push_back({{"values", std::move(list)}, {"hidden", true}});
            else classes.push_back(std::move(list));
        }
        return {{"kind", "uniqueValue"}, {"field", text(at / "field", field)}, {"classes", std::move(classes)}};
    }
    if (auto classify = r.query<IRasterClassifyRenderer>()) {
        com::Bstr field;
        at.call(classify->get_Field(field.put()));
        return {{"kind", "classify"}, {"field", text(at / "field", field)}, {"classes", classes_by_break(at, classify.get())}};
    }
    at.fail(L"a renderer of a kind that documents cannot hold (raster renderers: rgb, stretch, uniqueValue or classify)");
}

// ---- features

// A feature's shape as the loader reads it: a point or points, a path (a polyline or a line
// segment) or paths, a polygon or rings, or an envelope. Shapes of one part keep the one-part
// forms.
Json shape(const Place& at, IGeometry* geometry) {
    if (!geometry) at.fail(L"the feature has no shape");
    Shape s = read_shape(geometry);
    if (s.empty()) at.fail(L"the feature's shape is empty");
    auto points = [&](const Place& list, size_t first, size_t end) {
        Json written = Json::array();
        for (size_t i = first; i < end; ++i) written.push_back(coordinates(list[long(i - first)], s.points[i]));
        return written;
    };
    auto list = [&](const char* one, const char* many) {
        if (s.part_count() == 1) return Json{{one, points(at / one, 0, s.points.size())}};
        Json parts = Json::array();
        for (size_t p = 0; p < s.part_count(); ++p) parts.push_back(points((at / many)[long(p)], s.part_begin(p), s.part_end(p)));
        return Json{{many, std::move(parts)}};
    };
    switch (s.type) {
    case GeometryPoint: return {{"point", coordinates(at / "point", s.points[0])}};
    case GeometryMultipoint: return {{"points", points(at / "points", 0, s.points.size())}};
    case GeometryEnvelope: return {{"envelope", extent(at / "envelope", s.bounds())}};
    case GeometryPolyline:
    case GeometryLine: return list("path", "paths");
    case GeometryPolygon: return list("polygon", "rings");
    default: at.fail(L"a shape of geometry type " + std::to_wstring(long(s.type)) + L" cannot be written in a document");
    }
}

// A feature's value: a number or a text; Empty and Null are no value.
void value(const Place& at, const VARIANT& v, Json& feature) {
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: return;
    case VT_BSTR: feature["value"] = text(at, com::view(v.bstrVal)); return;
    case VT_R8: feature["value"] = number(at, v.dblVal); return;
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
    case VT_R4: case VT_CY: case VT_DECIMAL:
        feature["value"] = number(at, com::Variant(v).to_double());
        return;
    default:
        at.fail(L"a feature's value is a number or a text; this one is of variant type " + std::to_wstring(v.vt));
    }
}

Json features(const Place& at, IFeatureClass* fc) {
    long count = 0;
    at.call(fc->get_FeatureCount(&count));
    Json list = Json::array();
    for (long i = 0; i < count; ++i) {
        Place f = at[i];
        ComPtr<IGeometry> g;
        com::Variant v;
        f.call(fc->get_Shape(i, g.put()));
        f.call(fc->get_Value(i, v.put()));
        Json feature = shape(f, g.get());
        value(f / "value", *v.get(), feature);
        list.push_back(std::move(feature));
    }
    return list;
}

// ---- layers

// A data file as a document in `folder` names it: relative to the folder, with forward slashes,
// when it can be (on the same drive); else its full path.
std::wstring relative_path(const std::wstring& folder, const std::wstring& file) {
    wchar_t relative[MAX_PATH];
    if (folder.empty() || folder.size() >= MAX_PATH || file.size() >= MAX_PATH ||
        !PathRelativePathToW(relative, folder.c_str(), FILE_ATTRIBUTE_DIRECTORY, file.c_str(), FILE_ATTRIBUTE_NORMAL))
        return file;
    std::wstring r = relative;
    if (r.rfind(L".\\", 0) == 0) r.erase(0, 2);
    for (wchar_t& c : r)
        if (c == L'\\') c = L'/';
    return r;
}

// A feature layer whose features come from a data file names the file instead of listing them.
bool source(const Place& at, IFeatureClass* fc, const std::wstring& folder, Json& j) {
    com::Bstr path, object;
    at.call(fc->get_SourcePath(path.put()));
    if (path.empty()) return false;
    at.call(fc->get_SourceObject(object.put()));
    j["source"] = text(at / "source", relative_path(folder, path.str()));
    if (!object.empty()) j["object"] = text(at / "object", object);
    return true;
}

Json layer(const Place& at, ILayer* l, const std::wstring& folder);

void raster(const Place& at, IRasterLayer* r, Json& j) {
    ComPtr<IEnvelope> e;
    ComPtr<IRasterRenderer> renderer;
    long columns = 0, rows = 0, bands = 0;
    at.call(r->get_Extent(e.put()));
    at.call(r->get_Columns(&columns));
    at.call(r->get_Rows(&rows));
    at.call(r->get_BandCount(&bands));
    at.call(r->get_Renderer(renderer.put()));
    Bounds b = e ? read_shape(e.as<IGeometry>().get()).bounds() : Bounds{};
    if (b.empty) (at / "extent").fail(L"the raster has no extent");
    Json cells = Json::array();
    for (long band = 0; band < bands; ++band) {
        Place list = (at / "cells")[band];
        Json values = Json::array();
        for (long row = 0; row < rows; ++row)
            for (long column = 0; column < columns; ++column) {
                double v = 0;
                list.call(r->get_CellValue(band, column, row, &v));
                values.push_back(number(list, v));
            }
        cells.push_back(std::move(values));
    }
    j["extent"] = extent(at / "extent", b);
    j["columns"] = columns;
    j["rows"] = rows;
    j["bands"] = bands;
    j["cells"] = std::move(cells);
    j["renderer"] = raster_renderer(at / "renderer", renderer.get());
}

Json layer(const Place& outer, ILayer* l, const std::wstring& folder) {
    if (!l) outer.fail(L"the layer is Nothing");
    Place at = outer.inside();
    ComPtr<ILayer> p(l);
    com::Bstr name;
    VARIANT_BOOL valid = VARIANT_TRUE, visible = VARIANT_TRUE;
    at.call(l->get_Name(name.put()));
    at.call(l->get_Valid(&valid));
    at.call(l->get_Visible(&visible));
    Json j = Json::object();
    auto common = [&](const char* kind) {
        j["kind"] = kind;
        j["name"] = text(at / "name", name);
        j["valid"] = flag(valid);
        j["visible"] = flag(visible);
        if (auto range = p.query<IScaleRange>()) {
            double smallest = 0, largest = 0;
            at.call(range->get_MinimumScale(&largest));
            at.call(range->get_MaximumScale(&smallest));
            if (largest != 0) j["minScale"] = number(at / "minScale", largest);
            if (smallest != 0) j["maxScale"] = number(at / "maxScale", smallest);
        }
    };
    if (auto group = p.query<ISubLayers>()) {
        common("group");
        j["layers"] = members(at / "layers", at / "layers", group.get(), &ISubLayers::get_Count, &ISubLayers::get_Layer,
                              [&](const Place& p, ILayer* m) { return layer(p, m, folder); });
    } else if (p.query<IGroupLayer>()) {
        at.fail(L"a group layer whose members cannot be listed (it has no ISubLayers)");
    } else if (auto r = p.query<IRasterLayer>()) {
        common("raster");
        raster(at, r.get(), j);
    } else if (auto f = p.query<IFeatureLayer>()) {
        common("feature");
        ComPtr<IFeatureClass> fc;
        ComPtr<IFeatureRenderer> renderer;
        at.call(f->get_FeatureClass(fc.put()));
        if (!fc) at.fail(L"the feature layer has no feature class");
        if (auto rendering = p.query<IFeatureRendering>()) at.call(rendering->get_Renderer(renderer.put()));
        long type = 0;
        at.call(fc->get_ShapeType(&type));
        const wchar_t* w = word_of<long>(kShapeTypes, type);
        const bool from_file = source(at, fc.get(), folder, j);
        j["shapeType"] = w ? text(at, w) : Json(type);
        j["renderer"] = feature_renderer(at / "renderer", renderer.get());
        if (!from_file) j["features"] = features(at / "features", fc.get());
    } else {
        common("plain");
    }
    return j;
}

std::string document_text(Map& map, const std::wstring& folder) {
    Place top;
    com::Bstr name;
    top.call(map.get_Name(name.put()));
    Json doc = Json::object();
    doc["name"] = text(top / "name", name);
    if (map.explicit_units() != MapUnits::Unknown) doc["units"] = text(top / "units", word_of(map.explicit_units()));
    if (!map.explicit_extent().empty) doc["extent"] = extent(top / "extent", map.explicit_extent());
    doc["layers"] = members(top, top / "layers", &map, &IMap::get_LayerCount, &IMap::get_Layer,
                            [&](const Place& p, ILayer* m) { return layer(p, m, folder); });
    return print(doc);
}

}  // namespace

std::string save_map(Map& map, std::wstring_view name) {
    const std::wstring prefix = std::wstring(name) + L": cannot save the map: ";
    const std::wstring document = json::full_path_of(std::wstring(name));
    const size_t slash = document.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : document.substr(0, slash);
    std::string text;
    try {
        text = document_text(map, folder);
    } catch (const com::ComError& e) {
        com::raise(e.hr(), prefix + e.description());
    }
    try {
        load_map(text, name, DataFiles::Named);
    } catch (const com::ComError& e) {
        // The loader names the document first; say once which document it is.
        std::wstring why = e.description(), own = std::wstring(name) + L": ";
        if (why.compare(0, own.size(), own) == 0) why.erase(0, own.size());
        com::raise(e.hr(), prefix + L"the document would not open again: " + why);
    }
    return text;
}

}  // namespace mapmodel::document
