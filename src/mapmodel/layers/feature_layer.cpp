#include "mapmodel/layers/feature_layer.h"

namespace mapmodel {

void* FeatureLayer::query_more(REFIID riid) noexcept {
    if (riid == __uuidof(IFeatureLayer)) return static_cast<IFeatureLayer*>(static_cast<IFeatureRendering*>(this));
    return layer_interface(riid);
}

STDMETHODIMP FeatureLayer::get_FeatureClass(IFeatureClass** fc) {
    return boundary(__uuidof(IFeatureLayer), [&] { give(fc, class_); });
}
STDMETHODIMP FeatureLayer::putref_FeatureClass(IFeatureClass* fc) {
    return boundary(__uuidof(IFeatureLayer), [&] { class_ = fc; });
}
STDMETHODIMP FeatureLayer::get_Renderer(IFeatureRenderer** r) {
    return boundary(__uuidof(IFeatureRendering), [&] { give(r, renderer_); });
}
STDMETHODIMP FeatureLayer::putref_Renderer(IFeatureRenderer* r) {
    return boundary(__uuidof(IFeatureRendering), [&] { renderer_ = r; });
}

}  // namespace mapmodel
