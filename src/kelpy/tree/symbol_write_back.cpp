#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/tree/symbol_write_back.h"

namespace kelpy::tree {

namespace {
// A renderer that the record names, seen through the interface of its kind (an error when the
// renderer has become another kind since the legend was built).
template <class I, class Layer, class Renderer>
com::ComPtr<I> renderer_as(const com::ComPtr<Layer>& layer) {
    com::ComPtr<Renderer> renderer;
    com::check(layer->get_Renderer(renderer.put()));
    if (!renderer) com::raise(com::CTL_E_OBJECTNOTSET, L"The layer has no renderer");
    return renderer.template as<I>();
}
}  // namespace

bool WriteRendererSymbol(const com::ComPtr<ISymbol>& symbol, const TocNode& record) {
    // 1. The row's layer.
    com::ComPtr<ILayer> layer = record.Layer;
    if (!layer) return false;

    if (auto features = layer.query<IFeatureLayer>()) {
        // 2. Feature layers, by the recorded renderer kind.
        auto rendering = layer.as<IFeatureRendering>();
        switch (record.FeatureRendererType) {
        case ::FeatureRendererType::Simple:
            // The layer's one swatch: the symbol argument, and no refresh here.
            com::check(renderer_as<ISimpleRenderer, IFeatureRendering, IFeatureRenderer>(rendering)
                           ->putref_Symbol(symbol.get()));
            return false;
        case ::FeatureRendererType::ClassBreaks: {
            auto breaks = renderer_as<IClassBreaksRenderer, IFeatureRendering, IFeatureRenderer>(rendering);
            LONG count = 0;
            com::check(breaks->get_BreakCount(&count));
            if (record.Index >= count) return false;
            com::check(breaks->putref_Symbol(record.Index, record.Symbol.get()));
            return true;
        }
        case ::FeatureRendererType::UniqueValue: {
            // Keyed by the value at the row's position (not by its label).
            auto unique = renderer_as<IUniqueValueRenderer, IFeatureRendering, IFeatureRenderer>(rendering);
            LONG count = 0;
            com::check(unique->get_ValueCount(&count));
            if (record.Index >= count) return false;
            com::Bstr value;
            com::check(unique->get_Value(record.Index, value.put()));
            com::check(unique->putref_Symbol(value.get(), record.Symbol.get()));
            return true;
        }
        default:
            return false;  // charts and the other kinds keep their symbols
        }
    }

    if (auto raster = layer.query<IRasterLayer>()) {
        // 3. Raster layers, by the recorded renderer kind.
        switch (record.RasterRendererType) {
        case ::RasterRendererType::StretchColorRamp:
            renderer_as<IRasterStretchRenderer, IRasterLayer, IRasterRenderer>(raster);  // a ramp has no symbol
            return false;
        case ::RasterRendererType::UniqueValue: {
            auto unique = renderer_as<IRasterUniqueValueRenderer, IRasterLayer, IRasterRenderer>(raster);
            LONG classes = 0;
            com::check(unique->get_ClassCount(&classes));
            if (record.Index >= classes) return false;
            LONG values = 0;
            com::check(unique->get_ValueCount(record.Index, &values));
            if (record.Index2 >= values) return false;
            com::check(unique->putref_Symbol(record.Index, record.Index2, record.Symbol.get()));
            return true;
        }
        case ::RasterRendererType::ClassifyColorRamp: {
            auto classify = renderer_as<IRasterClassifyRenderer, IRasterLayer, IRasterRenderer>(raster);
            LONG classes = 0;
            com::check(classify->get_ClassCount(&classes));
            if (record.Index >= classes) return false;
            com::check(classify->putref_Symbol(record.Index, record.Symbol.get()));
            return true;
        }
        default:
            return false;  // a composite's bands have no symbols to write
        }
    }
    // 4. Any other kind of layer: nothing.
    return false;
}

}  // namespace kelpy::tree
