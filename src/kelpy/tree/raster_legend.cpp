// The legend of a raster layer, under its layer item: the three bands of a red-green-blue
// composite, the ramp of a stretched raster, and the classes of unique-value and classified
// renderers. Every row, heading included, is marked as a raster row. Renderers of any other
// kind show no rows.
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/draw/symbol_factories.h"
#include "kelpy/tree/legends.h"

namespace kelpy::tree {

namespace {
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

// Every row of a raster legend, heading included, carries the raster mark, its renderer's kind
// and the layer.
void mark_raster(TocNode& r, ::RasterRendererType kind, const com::ComPtr<ILayer>& layer) {
    r.RasterRendererType = kind;
    r.LayerType = ::LayerType::RasterLayer;
    r.Layer = layer;
}
}  // namespace

void AddRasterLegend(const com::ComPtr<ILayer>& layer, LegendRows& rows) {
    // 1. The renderer.
    com::ComPtr<IRasterRenderer> renderer;
    com::check(layer.as<IRasterLayer>()->get_Renderer(renderer.put()));

    // 2-3. The first kind the renderer passes decides.
    if (renderer.query<IRasterRgbRenderer>()) {
        rows.Add(composite_heading, ::TOCNodeType::RendererName, [&](TocNode& r) { mark_raster(r, ::RasterRendererType::RGB, layer); });
        LONG index = 0;
        for (const Band& band : composite_bands) {
            rows.Add(band.text, ::TOCNodeType::RendererItem, [&](TocNode& r) {
                mark_raster(r, ::RasterRendererType::RGB, layer);
                r.Index = index;
                r.Symbol = draw::CreateFillSymbol(band.color);
            });
            ++index;
        }
    } else if (auto stretch = renderer.query<IRasterStretchRenderer>()) {
        // One row without text or heading: a patch of the ramp, drawn with "High" and "Low".
        rows.Add(L"", ::TOCNodeType::RendererItem, [&](TocNode& r) {
            mark_raster(r, ::RasterRendererType::StretchColorRamp, layer);
            com::ComPtr<IColorRamp> ramp;
            com::check(stretch->get_ColorRamp(ramp.put()));
            r.Symbol = draw::CreateGradientSymbol(ramp);
        });
    } else if (auto unique = renderer.query<IRasterUniqueValueRenderer>()) {
        // The field as heading; the values class by class, each with the renderer's own symbol.
        com::Bstr field;
        com::check(unique->get_Field(field.put()));
        rows.Add(field.view(), ::TOCNodeType::RendererName, [&](TocNode& r) { mark_raster(r, ::RasterRendererType::UniqueValue, layer); });
        LONG classes = 0;
        com::check(unique->get_ClassCount(&classes));
        com::for_int16(classes, [&](int16_t i) {
            LONG values = 0;
            com::check(unique->get_ValueCount(i, &values));
            com::for_int16(values, [&](int16_t j) {
                com::Bstr text;
                com::check(unique->get_Text(i, j, text.put()));
                rows.Add(text.view(), ::TOCNodeType::RendererItem, [&](TocNode& r) {
                    r.Index = i;
                    r.Index2 = j;
                    com::check(unique->get_Symbol(i, j, r.Symbol.put()));
                    mark_raster(r, ::RasterRendererType::UniqueValue, layer);
                    r.ShapeType = 0;
                });
            });
        });
    } else if (auto classify = renderer.query<IRasterClassifyRenderer>()) {
        // The field as heading; one row per class with its label and the renderer's own symbol.
        com::Bstr field;
        com::check(classify->get_Field(field.put()));
        rows.Add(field.view(), ::TOCNodeType::RendererName, [&](TocNode& r) { mark_raster(r, ::RasterRendererType::ClassifyColorRamp, layer); });
        LONG classes = 0;
        com::check(classify->get_ClassCount(&classes));
        com::for_int16(classes, [&](int16_t i) {
            com::Bstr label;
            com::check(classify->get_Label(i, label.put()));
            rows.Add(label.view(), ::TOCNodeType::RendererItem, [&](TocNode& r) {
                r.Index = i;
                com::check(classify->get_Symbol(i, r.Symbol.put()));
                mark_raster(r, ::RasterRendererType::ClassifyColorRamp, layer);
                r.ShapeType = 0;
            });
        });
    }
}

}  // namespace kelpy::tree
