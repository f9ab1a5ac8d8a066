// The renderer-kind table's questions, and what every kind does alike: a legend is its heading
// (when the kind has one) followed by its classes, every row marked with its layer and its kind.
#include "kelpy/tree/renderer_kinds.h"
#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/tree/legends.h"
#include "kelpy/tree/numbered_classes.h"

namespace kelpy::tree {

bool RendererKind::Reads(const com::ComPtr<IUnknown>& shown) const {
    com::ComPtr<IUnknown> as_kind;
    return renderer && shown && SUCCEEDED(shown->QueryInterface(*renderer, as_kind.put_void())) && as_kind;
}

std::wstring RendererKind::TextOf(const std::function<HRESULT(BSTR*)>& get) {
    com::Bstr text;
    com::check(get(text.put()));
    return text.str();
}

std::optional<std::wstring> RendererKind::Heading(const com::ComPtr<IUnknown>&) const { return std::nullopt; }

void RendererKind::Classes(const com::ComPtr<IUnknown>&, const ClassSink&) const {}

bool RendererKind::Write(const CurrentRenderer&, const com::ComPtr<ISymbol>&, const TocNode&, MissingClass) const {
    return false;  // a kind without symbols to write keeps its own
}

std::optional<ClassKey> RendererKind::KeyOf(const CurrentRenderer&, const TocNode&) const { return ClassKey{}; }

std::optional<ClassPlace> RendererKind::Find(const CurrentRenderer&, const ClassKey&) const { return std::nullopt; }

bool RendererKind::NoClass(MissingClass missing) {
    if (missing == MissingClass::Fail)
        com::raise(com::CTL_E_SUBSCRIPTOUTOFRANGE, L"The layer's renderer no longer holds the class of the legend row");
    return false;
}

com::ComPtr<ISymbol> CopyOfSymbol(const com::ComPtr<ISymbol>& symbol) {
    com::ComPtr<ICloneable> copy;
    com::check(symbol.as<ICloneable>()->Clone(copy.put()));
    return copy.as<ISymbol>();
}

namespace {
std::span<const RendererKind* const> kinds_of(::LayerType layer) {
    switch (layer) {
    case ::LayerType::FeatureLayer: return FeatureKinds();
    case ::LayerType::RasterLayer: return RasterKinds();
    }
    return {};
}

bool is_legend_row(::TOCNodeType type) {
    return type == ::TOCNodeType::RendererName || type == ::TOCNodeType::LayerSymbol ||
           type == ::TOCNodeType::RendererItem;
}

// The renderer a record's layer draws with, through the interface of the layer's type.
template <class Layer, class Renderer>
com::ComPtr<IUnknown> renderer_of(const com::ComPtr<Layer>& layer) {
    com::ComPtr<Renderer> renderer;
    com::check(layer->get_Renderer(renderer.put()));
    return renderer;
}

com::ComPtr<IUnknown> current_renderer(const com::ComPtr<ILayer>& layer, ::LayerType type) {
    if (type == ::LayerType::FeatureLayer) return renderer_of<IFeatureRendering, IFeatureRenderer>(layer.as<IFeatureRendering>());
    return renderer_of<IRasterLayer, IRasterRenderer>(layer.as<IRasterLayer>());
}

// Whether the layer is of this type (a row's record names the type its legend was read for).
bool is_of_type(const com::ComPtr<ILayer>& layer, ::LayerType type) {
    if (type == ::LayerType::FeatureLayer) return bool(layer.query<IFeatureLayer>());
    return bool(layer.query<IRasterLayer>());
}
}  // namespace

const RendererKind* KindOf(const TocNode& record) {
    if (!is_legend_row(record.TOCNodeType)) return nullptr;
    const LONG type = record.LayerType == ::LayerType::RasterLayer ? LONG(record.RasterRendererType)
                                                                    : LONG(record.FeatureRendererType);
    for (const RendererKind* kind : kinds_of(record.LayerType))
        if (kind->type == type) return kind;
    return nullptr;
}

bool IsSwatchRow(const TocNode& record) {
    return record.TOCNodeType == ::TOCNodeType::LayerSymbol || record.TOCNodeType == ::TOCNodeType::RendererItem;
}

bool CanChooseSymbol(const TocNode& record) {
    const RendererKind* kind = IsSwatchRow(record) ? KindOf(record) : nullptr;
    return kind && kind->choosable;
}

RowLabel LabelOf(const TocNode& record) {
    const RendererKind* kind = record.TOCNodeType == ::TOCNodeType::RendererItem ? KindOf(record) : nullptr;
    return kind ? kind->label : RowLabel::None;
}

SwatchForm SwatchFormOf(const TocNode& record) {
    const RendererKind* kind = KindOf(record);
    return kind ? kind->form : SwatchForm::Square;
}

void ReadLegend(::LayerType layerType, const com::ComPtr<IUnknown>& renderer, const com::ComPtr<ILayer>& layer,
                LONG shapeType, LegendRows& rows) {
    // The first kind the renderer passes decides.
    const RendererKind* kind = nullptr;
    for (const RendererKind* k : kinds_of(layerType)) {
        if (k->Reads(renderer)) {
            kind = k;
            break;
        }
    }
    if (!kind) return;
    // Every row carries its layer; every row of a raster legend, heading included, the raster
    // mark and its renderer's kind; the class rows of a feature legend their renderer's kind and
    // the features' shape type.
    auto mark = [&](TocNode& r, bool heading) {
        r.Layer = layer;
        if (kind->layer == ::LayerType::RasterLayer) {
            r.RasterRendererType = ::RasterRendererType(kind->type);
            r.LayerType = ::LayerType::RasterLayer;
        } else if (!heading) {
            r.FeatureRendererType = ::FeatureRendererType(kind->type);
        }
        if (!heading) r.ShapeType = shapeType;
    };
    if (std::optional<std::wstring> heading = kind->Heading(renderer))
        rows.Add(*heading, ::TOCNodeType::RendererName, {}, [&](TocNode& r) { mark(r, true); });
    kind->Classes(renderer, [&](std::wstring_view text, const ClassKey& key, const RendererKind::Fill& fill) {
        rows.Add(text, kind->rows, key, [&](TocNode& r) {
            fill(r);
            mark(r, false);
        });
    });
}

void AddLegend(const com::ComPtr<ILayer>& layer, TocNode& layerRecord, LegendRows& rows) {
    if (layer.query<IFeatureLayer>()) {
        // The shape type of the layer's features, on the layer item and on every row.
        auto rendering = layer.as<IFeatureRendering>();
        com::ComPtr<IFeatureClass> featureClass;
        com::check(rendering->get_FeatureClass(featureClass.put()));
        if (!featureClass) com::raise(com::CTL_E_OBJECTNOTSET, L"The feature layer has no feature class");
        LONG shapeType = 0;
        com::check(featureClass->get_ShapeType(&shapeType));
        layerRecord.ShapeType = shapeType;
        ReadLegend(::LayerType::FeatureLayer, current_renderer(layer, ::LayerType::FeatureLayer), layer, shapeType, rows);
    } else if (layer.query<IRasterLayer>()) {
        ReadLegend(::LayerType::RasterLayer, current_renderer(layer, ::LayerType::RasterLayer), layer, 0, rows);
    }
}

com::ComPtr<IUnknown> RendererOf(const TocNode& record) {
    const com::ComPtr<ILayer>& layer = record.Layer;
    if (!layer) return nullptr;
    for (::LayerType type : {::LayerType::FeatureLayer, ::LayerType::RasterLayer})
        if (is_of_type(layer, type)) return current_renderer(layer, type);
    return nullptr;
}

NotedClass NoteClass(const TocNode& record) {
    NotedClass noted;
    noted.renderer = RendererOf(record);
    const RendererKind* kind = KindOf(record);
    if (!noted.renderer || !kind) return noted;
    try {
        noted.key = kind->KeyOf([&] { return noted.renderer; }, record);
    } catch (...) {
        // Only a symbol confirmed after a rebuild needs the key; it then fails for want of it.
    }
    return noted;
}

void WriteToNotedClass(TocNode& record, const NotedClass& noted) {
    if (!noted.renderer || !com::same_object(RendererOf(record).get(), noted.renderer.get()))
        com::raise(com::E_CHANGED_STATE, L"The layer no longer draws with the renderer the legend row was made from");
    const RendererKind* kind = KindOf(record);
    if (!kind) return;
    if (!noted.key || !std::holds_alternative<std::monostate>(*noted.key)) {
        // A row of a class: the class's place now.
        const std::optional<ClassPlace> place =
            noted.key ? kind->Find([&] { return noted.renderer; }, *noted.key) : std::nullopt;
        if (!place) {
            RendererKind::NoClass(MissingClass::Fail);
            return;
        }
        record.Index = place->index;
        record.Index2 = place->index2;
    }
    WriteRendererSymbol(record.Symbol, record, MissingClass::Fail);
}

bool WriteRendererSymbol(const com::ComPtr<ISymbol>& symbol, const TocNode& record, MissingClass missing) {
    // The row's layer, as the kind of layer its legend was read for, and the row's kind.
    const com::ComPtr<ILayer>& layer = record.Layer;
    if (!layer || !is_of_type(layer, record.LayerType)) return false;
    const RendererKind* kind = KindOf(record);
    if (!kind) return false;
    return kind->Write(
        [&] {
            com::ComPtr<IUnknown> renderer = current_renderer(layer, record.LayerType);
            if (!renderer) com::raise(com::CTL_E_OBJECTNOTSET, L"The layer has no renderer");
            return renderer;
        },
        symbol, record, missing);
}

}  // namespace kelpy::tree
