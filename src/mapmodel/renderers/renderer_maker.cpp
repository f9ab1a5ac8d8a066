#include "mapmodel/renderers/renderer_maker.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <vector>
#include "com/variant.h"
#include "mapmodel/renderers/class_breaks_renderer.h"
#include "mapmodel/renderers/feature_values.h"
#include "mapmodel/renderers/simple_renderer.h"
#include "mapmodel/renderers/unique_value_renderer.h"
#include "mapmodel/symbols/line_symbol.h"
#include "mapmodel/symbols/marker_symbol.h"
#include "mapmodel/symbols/solid_fill_symbol.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IRendererMaker);

// Twelve light colours of hues 150 degrees apart in turn, so that classes next to each other in
// a sorted legend (and often on the map) differ plainly.
constexpr COLORREF kQualitative[] = {RGB(225, 152, 152), RGB(113, 214, 163), RGB(225, 152, 225), RGB(163, 214, 113),
                                     RGB(152, 152, 225), RGB(214, 163, 113), RGB(152, 225, 225), RGB(214, 113, 163),
                                     RGB(152, 225, 152), RGB(163, 113, 214), RGB(225, 225, 152), RGB(113, 163, 214)};
constexpr COLORREF kOther = RGB(200, 200, 200);
// From light to dark, for classes of increasing values.
constexpr COLORREF kSequential[] = {RGB(254, 240, 217), RGB(253, 204, 138), RGB(252, 141, 89), RGB(227, 74, 51),
                                    RGB(179, 0, 0)};
constexpr size_t kMaxValueClasses = 256;
constexpr size_t kBreakClasses = std::size(kSequential);

COLORREF shape_color(long shape_type) {
    switch (shape_type) {
    case GeometryPolygon: return RGB(236, 226, 198);
    case GeometryPolyline: return RGB(58, 110, 165);
    default: return RGB(192, 57, 43);
    }
}

// The values of a field of every feature.
std::vector<com::Variant> field_values(IFeatureClass* features, std::wstring_view field, long& shape_type) {
    required(features, L"The feature class");
    long index = -1, count = 0;
    com::check(features->FindField(com::Bstr(field).get(), &index));
    if (index < 0) com::raise(E_INVALIDARG, L"The feature class has no field " + in_quotes(field));
    com::check(features->get_ShapeType(&shape_type));
    com::check(features->get_FeatureCount(&count));
    std::vector<com::Variant> values(size_t(std::max(count, 0L)));
    for (long i = 0; i < count; ++i) com::check(features->get_Attribute(i, index, values[size_t(i)].put()));
    return values;
}

// Texts in the order the system sorts them for people, equal ones by their code units.
bool text_before(const std::wstring& a, const std::wstring& b) {
    const int c = CompareStringEx(LOCALE_NAME_INVARIANT, 0, a.c_str(), int(a.size()), b.c_str(), int(b.size()), nullptr,
                                  nullptr, 0);
    if (c == CSTR_LESS_THAN) return true;
    if (c == CSTR_GREATER_THAN) return false;
    return a < b;
}

// A class break as a legend shows it: at most six significant digits, no trailing zeros.
std::wstring number_label(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", v);
    std::string s = text;
    if (s.find('e') != std::string::npos && std::fabs(v) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", v);
        s = text;
    }
    return com::widen(s);
}

void put_symbol_for(IUniqueValueRenderer* r, const std::wstring& value, const std::wstring& label, ISymbol* s) {
    com::check(r->AddValue(com::Bstr(value).get(), com::Bstr(label).get(), s));
}
}  // namespace

com::ComPtr<ISymbol> symbol_for_shape(long shape_type, COLORREF color) {
    switch (shape_type) {
    case GeometryPolygon:
        return SolidFillSymbol::create(color, LineSymbol::create(Stroke{RGB(110, 110, 110), 0.5, LineSolid}).as<ILineSymbol>(),
                                       FillSolid)
            .as<ISymbol>();
    case GeometryPolyline: return LineSymbol::create(Stroke{color, 1.5, LineSolid}).as<ISymbol>();
    default: return MarkerSymbol::create(MarkerSymbol::Settings{color, 6.0, MarkerCircle}).as<ISymbol>();
    }
}

com::ComPtr<IFeatureRenderer> default_renderer(long shape_type) {
    auto r = SimpleRenderer::create();
    com::check(r->putref_Symbol(symbol_for_shape(shape_type, shape_color(shape_type)).get()));
    return r.as<IFeatureRenderer>();
}

com::ComPtr<IFeatureRenderer> unique_values(IFeatureClass* features, std::wstring_view field) {
    long shape_type = GeometryNull;
    const std::vector<com::Variant> values = field_values(features, field, shape_type);
    std::vector<std::wstring> texts;
    bool without_value = false;
    for (const com::Variant& v : values) {
        std::wstring t = value_text(*v.get());
        if (t.empty()) without_value = true;
        else texts.push_back(std::move(t));
    }
    std::sort(texts.begin(), texts.end(), text_before);
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    if (texts.empty()) com::raise(E_INVALIDARG, L"The field " + in_quotes(field) + L" has no values");

    auto r = UniqueValueRenderer::create();
    com::check(r->put_FieldCount(1));
    com::check(r->put_Field(0, com::Bstr(field).get()));
    const bool too_many = texts.size() > kMaxValueClasses;
    const size_t own = too_many ? kMaxValueClasses - 1 : texts.size();
    for (size_t i = 0; i < own; ++i)
        put_symbol_for(r.get(), texts[i], texts[i], symbol_for_shape(shape_type, kQualitative[i % std::size(kQualitative)]).get());
    if (too_many || without_value) {
        // "Other" is keyed by a value that no class above has: the first of the rest, or the
        // empty text (which features without a value read as).
        const auto other = symbol_for_shape(shape_type, kOther);
        put_symbol_for(r.get(), too_many ? texts[own] : std::wstring(), L"Other", other.get());
        com::check(r->putref_DefaultSymbol(other.get()));
    }
    return r.as<IFeatureRenderer>();
}

com::ComPtr<IFeatureRenderer> class_breaks(IFeatureClass* features, std::wstring_view field) {
    long shape_type = GeometryNull;
    const std::vector<com::Variant> values = field_values(features, field, shape_type);
    std::vector<double> numbers;
    for (const com::Variant& v : values) {
        if (v.type() == VT_EMPTY || v.type() == VT_NULL) continue;
        const bool text = v.type() == VT_BSTR || v.type() == VT_BOOL;
        const std::optional<double> x = text ? std::nullopt : value_number(*v.get());
        if (!x) com::raise(E_INVALIDARG, L"The field " + in_quotes(field) + L" is not numeric: it holds " +
                                             in_quotes(value_text(*v.get())));
        numbers.push_back(*x);
    }
    if (numbers.empty()) com::raise(E_INVALIDARG, L"The field " + in_quotes(field) + L" has no values");
    std::sort(numbers.begin(), numbers.end());

    // Break k closes the class that holds the first (k + 1) / 5 of the values.
    std::vector<double> breaks;
    const size_t n = numbers.size();
    for (size_t k = 1; k <= kBreakClasses; ++k) {
        const double b = numbers[(k * n + kBreakClasses - 1) / kBreakClasses - 1];
        if (breaks.empty() || b > breaks.back()) breaks.push_back(b);
    }
    auto r = ClassBreaksRenderer::create();
    com::check(r->put_Field(com::Bstr(field).get()));
    com::check(r->put_MinimumBreak(numbers.front()));
    com::check(r->put_BreakCount(long(breaks.size())));
    for (size_t k = 0; k < breaks.size(); ++k) {
        const double low = k == 0 ? numbers.front() : breaks[k - 1];
        // The palette spread over the classes there are, its ends always used.
        const size_t shade = breaks.size() == 1 ? kBreakClasses - 1 : k * (kBreakClasses - 1) / (breaks.size() - 1);
        com::check(r->put_Break(long(k), breaks[k]));
        com::check(r->put_Label(long(k), com::Bstr(number_label(low) + L" \u2013 " + number_label(breaks[k])).get()));
        com::check(r->putref_Symbol(long(k), symbol_for_shape(shape_type, kSequential[shade]).get()));
    }
    return r.as<IFeatureRenderer>();
}

STDMETHODIMP RendererMaker::UniqueValues(IFeatureClass* features, BSTR field, IFeatureRenderer** renderer) {
    return boundary(kIid, [&] { give(renderer, unique_values(features, com::view(field))); });
}

STDMETHODIMP RendererMaker::ClassBreaks(IFeatureClass* features, BSTR field, IFeatureRenderer** renderer) {
    return boundary(kIid, [&] { give(renderer, class_breaks(features, com::view(field))); });
}

}  // namespace mapmodel
