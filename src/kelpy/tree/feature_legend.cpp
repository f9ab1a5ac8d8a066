// The legend of a feature layer, under its layer item: one swatch row for a simple renderer, a
// heading and one row per class for class-breaks and unique-value renderers, one row for a
// pie-chart renderer. Renderers of any other kind show no rows. The legend is a snapshot of
// the renderer; the next rebuild renews it.
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/tree/legends.h"

namespace kelpy::tree {

namespace {
com::ComPtr<ISymbol> copy_of(const com::ComPtr<ISymbol>& symbol) {
    com::ComPtr<ICloneable> copy;
    com::check(symbol.as<ICloneable>()->Clone(copy.put()));
    return copy.as<ISymbol>();
}
}  // namespace

void AddFeatureLegend(const com::ComPtr<ILayer>& layer, TocNode& layerRecord, LegendRows& rows) {
    // 1. The shape type of the layer's features, on the layer item and on every row; the renderer.
    auto rendering = layer.as<IFeatureRendering>();
    com::ComPtr<IFeatureClass> featureClass;
    com::check(rendering->get_FeatureClass(featureClass.put()));
    if (!featureClass) com::raise(com::CTL_E_OBJECTNOTSET, L"The feature layer has no feature class");
    LONG shapeType = 0;
    com::check(featureClass->get_ShapeType(&shapeType));
    layerRecord.ShapeType = shapeType;
    com::ComPtr<IFeatureRenderer> renderer;
    com::check(rendering->get_Renderer(renderer.put()));


    // 2-3. The first kind the renderer passes decides.
    if (auto simple = renderer.query<ISimpleRenderer>()) {
        // The renderer's own symbol, no heading and no text.
        rows.Add(L"", ::TOCNodeType::LayerSymbol, [&](TocNode& r) {
            com::check(simple->get_Symbol(r.Symbol.put()));
            r.Layer = layer;
            r.ShapeType = shapeType;
        });
    } else if (auto breaks = renderer.query<IClassBreaksRenderer>()) {
        // The field as heading; one row per class with its label and a copy of its symbol.
        com::Bstr field;
        com::check(breaks->get_Field(field.put()));
        rows.Add(field.view(), ::TOCNodeType::RendererName, [&](TocNode& r) { r.Layer = layer; });
        LONG count = 0;
        com::check(breaks->get_BreakCount(&count));
        com::for_int16(count, [&](int16_t i) {
            com::Bstr label;
            com::check(breaks->get_Label(i, label.put()));
            rows.Add(label.view(), ::TOCNodeType::RendererItem, [&](TocNode& r) {
                r.Index = i;
                com::ComPtr<ISymbol> own;
                com::check(breaks->get_Symbol(i, own.put()));
                r.Symbol = copy_of(own);
                r.FeatureRendererType = ::FeatureRendererType::ClassBreaks;
                r.Layer = layer;
                r.ShapeType = shapeType;
            });
        });
    } else if (auto unique = renderer.query<IUniqueValueRenderer>()) {
        // The first field as heading; one row per value, labelled by the value's label (not the
        // value) and drawn with the renderer's own symbol for the value.
        com::Bstr field;
        com::check(unique->get_Field(0, field.put()));
        rows.Add(field.view(), ::TOCNodeType::RendererName, [&](TocNode& r) { r.Layer = layer; });
        LONG count = 0;
        com::check(unique->get_ValueCount(&count));
        com::for_int16(count, [&](int16_t i) {
            com::Bstr value, label;
            com::check(unique->get_Value(i, value.put()));
            com::check(unique->get_Label(value.get(), label.put()));
            rows.Add(label.view(), ::TOCNodeType::RendererItem, [&](TocNode& r) {
                r.Index = i;
                com::Bstr again;
                com::check(unique->get_Value(i, again.put()));
                com::check(unique->get_Symbol(again.get(), r.Symbol.put()));
                r.Layer = layer;
                r.ShapeType = shapeType;
                r.FeatureRendererType = ::FeatureRendererType::UniqueValue;
            });
        });
    } else if (renderer.query<IPieChartRenderer>()) {
        // One row without text, drawn with the renderer's own chart symbol.
        auto chart = renderer.as<IChartRenderer>();
        rows.Add(L"", ::TOCNodeType::RendererItem, [&](TocNode& r) {
            r.Index = 0;
            com::ComPtr<IChartSymbol> chartSymbol;
            com::check(chart->get_ChartSymbol(chartSymbol.put()));
            r.Symbol = chartSymbol ? chartSymbol.as<ISymbol>() : nullptr;
            r.Layer = layer;
            r.ShapeType = shapeType;
            r.FeatureRendererType = ::FeatureRendererType::PieChartRenderer;
        });
    }
}

}  // namespace kelpy::tree
