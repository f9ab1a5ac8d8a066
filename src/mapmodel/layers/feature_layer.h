// FeatureLayer: a layer of features, drawn by a renderer. It is a layer, a feature layer and a
// feature rendering layer (one interface extending the other), has a scale range, and counts its
// features per class of its renderer (IClassCounts): all classes in one pass, kept while neither
// its features nor its renderer change (their revisions; objects that have none, a host's own,
// are counted anew every time).
#pragma once
#include <vector>
#include "com/object.h"
#include "mapmodel/layers/layer_base.h"
#include "mapmodel/layers/scale_range.h"

namespace mapmodel {

class FeatureLayer final : public com::ComObject<FeatureLayer, LayerBase<FeatureLayer, IFeatureRendering>, ScaleRange,
                                                  Dispatch<IClassCounts>, com::SupportErrorInfo> {
public:
    void* query_more(REFIID riid) noexcept;

    STDMETHODIMP get_FeatureClass(IFeatureClass** fc) override;
    STDMETHODIMP putref_FeatureClass(IFeatureClass* fc) override;
    STDMETHODIMP get_Renderer(IFeatureRenderer** r) override;
    STDMETHODIMP putref_Renderer(IFeatureRenderer* r) override;

    STDMETHODIMP get_ClassFeatureCount(long index, long* n) override;
    STDMETHODIMP get_FeatureCount(long* n) override;

private:
    struct Counts {
        bool made = false;
        ULONGLONG features = 0, renderer = 0;  // the revisions counted; 0: none, count again
        std::vector<long> per_class;
        long total = 0;
    };
    const Counts& counts();

    com::ComPtr<IFeatureClass> class_;
    com::ComPtr<IFeatureRenderer> renderer_;
    Counts counts_;
};

}  // namespace mapmodel
