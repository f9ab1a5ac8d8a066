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

template <class Layer, class Renderer>
com::ComPtr<IUnknown> identity_of_renderer(const com::ComPtr<Layer>& layer) {
    com::ComPtr<Renderer> renderer;
    com::check(layer->get_Renderer(renderer.put()));
    return renderer ? renderer.template as<IUnknown>() : nullptr;
}
}  // namespace

com::ComPtr<IUnknown> RendererOf(const TocNode& record) {
    const com::ComPtr<ILayer>& layer = record.Layer;
    if (!layer) return nullptr;
    if (layer.query<IFeatureLayer>()) return identity_of_renderer<IFeatureRendering, IFeatureRenderer>(layer.as<IFeatureRendering>());
    if (auto raster = layer.query<IRasterLayer>()) return identity_of_renderer<IRasterLayer, IRasterRenderer>(raster);
    return nullptr;
}

bool WriteRendererSymbol(const com::ComPtr<ISymbol>& symbol, const TocNode& record, MissingClass missing) {
    // A class beyond the renderer's counts: nothing written, or the failure.
    auto no_class = [&] {
        if (missing == MissingClass::Fail)
            com::raise(com::CTL_E_SUBSCRIPTOUTOFRANGE, L"The layer's renderer no longer holds the class of the legend row");
        return false;
    };
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
            if (record.Index >= count) return no_class();
            com::check(breaks->putref_Symbol(record.Index, record.Symbol.get()));
            return true;
        }
        case ::FeatureRendererType::UniqueValue: {
            // Keyed by the value at the row's position (not by its label).
            auto unique = renderer_as<IUniqueValueRenderer, IFeatureRendering, IFeatureRenderer>(rendering);
            LONG count = 0;
            com::check(unique->get_ValueCount(&count));
            if (record.Index >= count) return no_class();
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
            if (record.Index >= classes) return no_class();
            LONG values = 0;
            com::check(unique->get_ValueCount(record.Index, &values));
            if (record.Index2 >= values) return no_class();
            com::check(unique->putref_Symbol(record.Index, record.Index2, record.Symbol.get()));
            return true;
        }
        case ::RasterRendererType::ClassifyColorRamp: {
            auto classify = renderer_as<IRasterClassifyRenderer, IRasterLayer, IRasterRenderer>(raster);
            LONG classes = 0;
            com::check(classify->get_ClassCount(&classes));
            if (record.Index >= classes) return no_class();
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
