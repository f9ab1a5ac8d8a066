// The renderer kinds of feature layers: one swatch row for a simple renderer, a heading and one
// row per class for class-breaks and unique-value renderers, one row for a pie-chart renderer.
// The other kinds of feature renderer show no rows and keep their symbols.
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/tree/numbered_classes.h"
#include "kelpy/tree/renderer_kinds.h"

namespace kelpy::tree {

namespace {
using ::FeatureRendererType;
constexpr ::LayerType feature_layer = ::LayerType::FeatureLayer;

// A kind of feature renderer whose legend the control does not show.
class Unshown final : public RendererKind {
public:
    explicit constexpr Unshown(FeatureRendererType type) noexcept
        : RendererKind(feature_layer, LONG(type), nullptr, ::TOCNodeType::RendererItem, false, RowLabel::Text,
                       SwatchForm::LayerShape) {}
};

// The renderer's own symbol, in one row without heading or text; a chosen symbol replaces it.
class Simple final : public RendererKind {
public:
    constexpr Simple() noexcept
        : RendererKind(feature_layer, LONG(FeatureRendererType::Simple), &IID_ISimpleRenderer,
                       ::TOCNodeType::LayerSymbol, true,
                       RowLabel::None, SwatchForm::LayerShape) {}
    void Classes(const com::ComPtr<IUnknown>& renderer, const ClassSink& add) const override {
        auto simple = renderer.as<ISimpleRenderer>();
        add(L"", {}, [&](TocNode& r) { com::check(simple->get_Symbol(r.Symbol.put())); });
    }
    bool Write(const CurrentRenderer& renderer, const com::ComPtr<ISymbol>& symbol, const TocNode&,
               MissingClass) const override {
        // The layer's one swatch: the symbol argument, and no refresh here.
        com::check(renderer().as<ISimpleRenderer>()->putref_Symbol(symbol.get()));
        return false;
    }
};

// The first field as heading; one row per value, labelled by the value's label (not the value)
// and drawn with the renderer's own symbol for the value. Symbols are keyed by the value at the
// row's position.
class UniqueValue final : public RendererKind {
public:
    constexpr UniqueValue() noexcept
        : RendererKind(feature_layer, LONG(FeatureRendererType::UniqueValue), &IID_IUniqueValueRenderer,
                       ::TOCNodeType::RendererItem, true,
                       RowLabel::Text, SwatchForm::LayerShape) {}
    std::optional<std::wstring> Heading(const com::ComPtr<IUnknown>& renderer) const override {
        return TextOf([&](BSTR* field) { return renderer.as<IUniqueValueRenderer>()->get_Field(0, field); });
    }
    void Classes(const com::ComPtr<IUnknown>& renderer, const ClassSink& add) const override {
        auto unique = renderer.as<IUniqueValueRenderer>();
        LONG count = 0;
        com::check(unique->get_ValueCount(&count));
        com::for_int16(count, [&](int16_t i) {
            com::Bstr value, label;
            com::check(unique->get_Value(i, value.put()));
            com::check(unique->get_Label(value.get(), label.put()));
            add(label.view(), ClassKey{value.str()}, [&](TocNode& r) {
                r.Index = i;
                com::Bstr again;
                com::check(unique->get_Value(i, again.put()));
                com::check(unique->get_Symbol(again.get(), r.Symbol.put()));
            });
        });
    }
    bool Write(const CurrentRenderer& renderer, const com::ComPtr<ISymbol>&, const TocNode& record,
               MissingClass missing) const override {
        auto unique = renderer().as<IUniqueValueRenderer>();
        LONG count = 0;
        com::check(unique->get_ValueCount(&count));
        if (record.Index >= count) return NoClass(missing);
        com::Bstr value;
        com::check(unique->get_Value(record.Index, value.put()));
        com::check(unique->putref_Symbol(value.get(), record.Symbol.get()));
        return true;
    }
    std::optional<ClassKey> KeyOf(const CurrentRenderer& renderer, const TocNode& record) const override {
        auto unique = renderer().as<IUniqueValueRenderer>();
        LONG count = 0;
        com::check(unique->get_ValueCount(&count));
        if (record.Index < 0 || record.Index >= count) return std::nullopt;
        return ClassKey{TextOf([&](BSTR* value) { return unique->get_Value(record.Index, value); })};
    }
    std::optional<ClassPlace> Find(const CurrentRenderer& renderer, const ClassKey& key) const override {
        const std::wstring* sought = std::get_if<std::wstring>(&key);
        if (!sought) return std::nullopt;
        auto unique = renderer().as<IUniqueValueRenderer>();
        LONG count = 0;
        com::check(unique->get_ValueCount(&count));
        Matches matches;
        for (LONG i = 0; i < count; ++i)
            if (TextOf([&](BSTR* value) { return unique->get_Value(i, value); }) == *sought) matches.add({i, 0});
        return matches.one();
    }
};

// One row without text, drawn with the renderer's own chart symbol; the chart keeps its symbol.
class PieChart final : public RendererKind {
public:
    constexpr PieChart() noexcept
        : RendererKind(feature_layer, LONG(FeatureRendererType::PieChartRenderer), &IID_IPieChartRenderer,
                       ::TOCNodeType::RendererItem, true,
                       RowLabel::Text, SwatchForm::LayerShape) {}
    void Classes(const com::ComPtr<IUnknown>& renderer, const ClassSink& add) const override {
        auto chart = renderer.as<IChartRenderer>();
        add(L"", {}, [&](TocNode& r) {
            r.Index = 0;
            com::ComPtr<IChartSymbol> chartSymbol;
            com::check(chart->get_ChartSymbol(chartSymbol.put()));
            r.Symbol = chartSymbol ? chartSymbol.as<ISymbol>() : nullptr;
        });
    }
};

constexpr Simple simple;
// The field as heading; one row per class with its label and a copy of its symbol.
constexpr NumberedClasses<IClassBreaksRenderer, &IClassBreaksRenderer::get_BreakCount> class_breaks{
    feature_layer, LONG(FeatureRendererType::ClassBreaks), SwatchForm::LayerShape, ClassSymbols::Copies};
constexpr UniqueValue unique_value;
constexpr PieChart pie_chart;
constexpr Unshown dot_density{FeatureRendererType::DotDensity};
constexpr Unshown bi_unique_value{FeatureRendererType::BiUniqueValue};
constexpr Unshown bar_chart{FeatureRendererType::BarChartRenderer};
constexpr Unshown proportional_symbols{FeatureRendererType::PropportionalSymbols};
constexpr Unshown scale_dependent{FeatureRendererType::ScaleDependent};

constexpr const RendererKind* feature_kinds[] = {&simple,      &class_breaks,    &unique_value,
                                                 &pie_chart,   &dot_density,     &bi_unique_value,
                                                 &bar_chart,   &proportional_symbols, &scale_dependent};
}  // namespace

std::span<const RendererKind* const> FeatureKinds() { return feature_kinds; }

}  // namespace kelpy::tree
