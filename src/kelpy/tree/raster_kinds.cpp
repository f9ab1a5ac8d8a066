// The renderer kinds of raster layers: the three bands of a red-green-blue composite, the ramp
// of a stretched raster, and the classes of unique-value and classified renderers. The bands and
// the ramp are drawn with symbols the control makes itself, and have no symbol to choose.
#include "com/bstr.h"
#include "com/class_objects.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/tree/numbered_classes.h"
#include "kelpy/tree/renderer_kinds.h"

namespace kelpy::tree {

com::ComPtr<ISymbol> CreateFillSymbol(LONG color) {
    auto fill = com::create_instance<ISolidFillSymbol>(CLSID_SolidFillSymbol);
    auto rgb = com::create_instance<IRgbColor>(CLSID_RgbColor);
    com::check(rgb->put_RGB(color));
    com::check(fill->putref_Color(rgb.as<IColor>().get()));
    return fill.as<ISymbol>();
}

com::ComPtr<ISymbol> CreateGradientSymbol(const com::ComPtr<IColorRamp>& ramp) {
    auto gradient = com::create_instance<IGradientFillSymbol>(CLSID_GradientFillSymbol);
    // A linear ramp of 50 bands, its first colour towards the bottom of the patch (280
    // degrees), where the ramp row shows "Low".
    com::check(gradient->putref_ColorRamp(ramp.get()));
    com::check(gradient->put_Style(0));
    com::check(gradient->put_Angle(280.0));
    com::check(gradient->put_IntervalCount(50));
    // No outline around the ramp.
    com::ComPtr<ILineSymbol> outline;
    com::check(gradient->get_Outline(outline.put()));
    if (!outline) com::raise(com::CTL_E_OBJECTNOTSET, L"The gradient fill symbol has no outline");
    com::check(outline->put_Width(0.0));
    return gradient.as<ISymbol>();
}

namespace {
using ::RasterRendererType;
constexpr ::LayerType raster_layer = ::LayerType::RasterLayer;

// The rows of a composite: fixed texts (blanks as shown) and pure colours (0x00BBGGRR), whichever
// bands the renderer really shows.
struct Band {
    const wchar_t* text;
    LONG color;
};
constexpr Band composite_bands[] = {
    {L"Red:    Band_1", 0x0000FF},
    {L"Green: Band_2", 0x00FF00},
    {L"Blue:   Band_3", 0xFF0000},
};
constexpr wchar_t composite_heading[] = L"RGB Composite";

class Composite final : public RendererKind {
public:
    constexpr Composite() noexcept
        : RendererKind(raster_layer, LONG(RasterRendererType::RGB), &IID_IRasterRgbRenderer,
                       ::TOCNodeType::RendererItem, false, RowLabel::Text,
                       SwatchForm::Square) {}
    std::optional<std::wstring> Heading(const com::ComPtr<IUnknown>&) const override { return composite_heading; }
    void Classes(const com::ComPtr<IUnknown>&, const ClassSink& add) const override {
        LONG index = 0;
        for (const Band& band : composite_bands) {
            add(band.text, {}, [&](TocNode& r) {
                r.Index = index;
                r.Symbol = CreateFillSymbol(band.color);
            });
            ++index;
        }
    }
};

// One row without text or heading: a patch of the ramp, drawn with "High" and "Low".
class StretchedRamp final : public RendererKind {
public:
    constexpr StretchedRamp() noexcept
        : RendererKind(raster_layer, LONG(RasterRendererType::StretchColorRamp), &IID_IRasterStretchRenderer,
                       ::TOCNodeType::RendererItem, false,
                       RowLabel::RampEnds, SwatchForm::Ramp) {}
    void Classes(const com::ComPtr<IUnknown>& renderer, const ClassSink& add) const override {
        auto stretch = renderer.as<IRasterStretchRenderer>();
        add(L"", {}, [&](TocNode& r) {
            com::ComPtr<IColorRamp> ramp;
            com::check(stretch->get_ColorRamp(ramp.put()));
            r.Symbol = CreateGradientSymbol(ramp);
        });
    }
    bool Write(const CurrentRenderer& renderer, const com::ComPtr<ISymbol>&, const TocNode&,
               MissingClass) const override {
        renderer().as<IRasterStretchRenderer>();  // a ramp has no symbol
        return false;
    }
};

// The field as heading; the values class by class, each with the renderer's own symbol.
class RasterUniqueValue final : public RendererKind {
public:
    constexpr RasterUniqueValue() noexcept
        : RendererKind(raster_layer, LONG(RasterRendererType::UniqueValue), &IID_IRasterUniqueValueRenderer,
                       ::TOCNodeType::RendererItem, true,
                       RowLabel::Text, SwatchForm::Square) {}
    std::optional<std::wstring> Heading(const com::ComPtr<IUnknown>& renderer) const override {
        return TextOf([&](BSTR* field) { return renderer.as<IRasterUniqueValueRenderer>()->get_Field(field); });
    }
    void Classes(const com::ComPtr<IUnknown>& renderer, const ClassSink& add) const override {
        auto unique = renderer.as<IRasterUniqueValueRenderer>();
        LONG classes = 0;
        com::check(unique->get_ClassCount(&classes));
        com::for_int16(classes, [&](int16_t i) {
            LONG values = 0;
            com::check(unique->get_ValueCount(i, &values));
            com::for_int16(values, [&](int16_t j) {
                com::Bstr text;
                com::check(unique->get_Text(i, j, text.put()));
                add(text.view(), ClassKey{text.str()}, [&](TocNode& r) {
                    r.Index = i;
                    r.Index2 = j;
                    com::check(unique->get_Symbol(i, j, r.Symbol.put()));
                });
            });
        });
    }
    bool Write(const CurrentRenderer& renderer, const com::ComPtr<ISymbol>&, const TocNode& record,
               MissingClass missing) const override {
        auto unique = renderer().as<IRasterUniqueValueRenderer>();
        LONG classes = 0;
        com::check(unique->get_ClassCount(&classes));
        if (record.Index >= classes) return NoClass(missing);
        LONG values = 0;
        com::check(unique->get_ValueCount(record.Index, &values));
        if (record.Index2 >= values) return NoClass(missing);
        com::check(unique->putref_Symbol(record.Index, record.Index2, record.Symbol.get()));
        return true;
    }
    // A value is told apart by its text, as its row shows it.
    std::optional<ClassKey> KeyOf(const CurrentRenderer& renderer, const TocNode& record) const override {
        auto unique = renderer().as<IRasterUniqueValueRenderer>();
        LONG classes = 0, values = 0;
        com::check(unique->get_ClassCount(&classes));
        if (record.Index < 0 || record.Index >= classes) return std::nullopt;
        com::check(unique->get_ValueCount(record.Index, &values));
        if (record.Index2 < 0 || record.Index2 >= values) return std::nullopt;
        return ClassKey{TextOf([&](BSTR* text) { return unique->get_Text(record.Index, record.Index2, text); })};
    }
    std::optional<ClassPlace> Find(const CurrentRenderer& renderer, const ClassKey& key) const override {
        const std::wstring* sought = std::get_if<std::wstring>(&key);
        if (!sought) return std::nullopt;
        auto unique = renderer().as<IRasterUniqueValueRenderer>();
        LONG classes = 0;
        com::check(unique->get_ClassCount(&classes));
        Matches matches;
        for (LONG i = 0; i < classes; ++i) {
            LONG values = 0;
            com::check(unique->get_ValueCount(i, &values));
            for (LONG j = 0; j < values; ++j)
                if (TextOf([&](BSTR* text) { return unique->get_Text(i, j, text); }) == *sought) matches.add({i, j});
        }
        return matches.one();
    }
};

constexpr Composite composite;
constexpr StretchedRamp stretched_ramp;
constexpr RasterUniqueValue raster_unique_value;
// The field as heading; one row per class with its label and the renderer's own symbol.
constexpr NumberedClasses<IRasterClassifyRenderer, &IRasterClassifyRenderer::get_ClassCount> classified{
    raster_layer, LONG(RasterRendererType::ClassifyColorRamp), SwatchForm::Square, ClassSymbols::Own};

constexpr const RendererKind* raster_kinds[] = {&composite, &stretched_ramp, &raster_unique_value, &classified};
}  // namespace

std::span<const RendererKind* const> RasterKinds() { return raster_kinds; }

}  // namespace kelpy::tree
