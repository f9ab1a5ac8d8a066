#include "kelpy/common/map_builder.h"
#include <gtest/gtest.h>
#include "com/bstr.h"
#include "com/error.h"
#include "common/registration.h"

namespace test {

namespace {
void register_map_model() {
    static const bool done = [] {
        register_library(L"mapmodel.dll");
        return true;
    }();
    (void)done;
}
}  // namespace

template <class I>
com::ComPtr<I> create(REFCLSID clsid) {
    register_map_model();
    return com::ComPtr<I>::create(clsid);
}

template com::ComPtr<IMap> create<IMap>(REFCLSID);
template com::ComPtr<ILayer> create<ILayer>(REFCLSID);
template com::ComPtr<IModelInfo> create<IModelInfo>(REFCLSID);

com::ComPtr<ILayer> make_layer(LayerKind kind, std::wstring_view name, bool visible, bool valid) {
    const CLSID& clsid = kind == LayerKind::Feature  ? CLSID_FeatureLayer
                         : kind == LayerKind::Raster ? CLSID_RasterLayer
                                                     : CLSID_PlainLayer;
    auto layer = create<ILayer>(clsid);
    com::check(layer->put_Name(com::Bstr(name).get()));
    com::check(layer->put_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE));
    com::check(layer->put_Valid(valid ? VARIANT_TRUE : VARIANT_FALSE));
    // A feature layer has a class of features of no particular shape (0) and no renderer: it
    // shows no legend rows.
    if (kind == LayerKind::Feature) {
        com::ComPtr<IFeatureClass> features;
        com::check(CoCreateInstance(CLSID_FeatureClass, nullptr, CLSCTX_INPROC_SERVER, IID_IFeatureClass, features.put_void()));
        com::check(features->put_ShapeType(GeometryNull));
        com::check(layer.as<IFeatureLayer>()->putref_FeatureClass(features.get()));
    }
    return layer;
}

com::ComPtr<ILayer> group_layer(std::wstring_view name, std::initializer_list<com::ComPtr<ILayer>> members,
                                bool visible) {
    auto layer = create<ILayer>(CLSID_GroupLayer);
    com::check(layer->put_Name(com::Bstr(name).get()));
    com::check(layer->put_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE));
    auto group = layer.as<IGroupLayer>();
    for (const auto& member : members) com::check(group->Add(member.get()));
    return layer;
}

void append_layer(IMap* map, ILayer* layer) {
    com::check(map->AddLayer(layer));
    LONG count = 0;
    com::check(map->get_LayerCount(&count));
    com::check(map->MoveLayer(layer, count - 1));
}

com::ComPtr<IMap> make_map(std::wstring_view name, std::initializer_list<com::ComPtr<ILayer>> layers) {
    auto map = create<IMap>(CLSID_Map);
    com::check(map->put_Name(com::Bstr(name).get()));
    for (const auto& layer : layers) append_layer(map.get(), layer.get());
    return map;
}

long live_map_objects() {
    auto info = create<IModelInfo>(CLSID_ModelInfo);
    LONG n = 0;
    com::check(info->get_LiveObjects(&n));
    return n;
}

}  // namespace test
