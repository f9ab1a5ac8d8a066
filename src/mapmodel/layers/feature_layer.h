// FeatureLayer: a layer of features, drawn by a renderer. It is a layer, a feature layer and a
// feature rendering layer (one interface extending the other).
#pragma once
#include "com/object.h"
#include "mapmodel/layers/layer_base.h"

namespace mapmodel {

class FeatureLayer final
    : public com::ComObject<FeatureLayer, LayerBase<FeatureLayer, IFeatureRendering>, com::SupportErrorInfo> {
public:
    void* query_more(REFIID riid) noexcept;

    STDMETHODIMP get_FeatureClass(IFeatureClass** fc) override;
    STDMETHODIMP putref_FeatureClass(IFeatureClass* fc) override;
    STDMETHODIMP get_Renderer(IFeatureRenderer** r) override;
    STDMETHODIMP putref_Renderer(IFeatureRenderer* r) override;

private:
    com::ComPtr<IFeatureClass> class_;
    com::ComPtr<IFeatureRenderer> renderer_;
};

}  // namespace mapmodel
