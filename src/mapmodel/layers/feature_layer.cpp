#include "mapmodel/layers/feature_layer.h"
#include "mapmodel/renderers/class_visibility.h"
#include "mapmodel/renderers/feature_classifier.h"
#include "mapmodel/revision.h"

namespace mapmodel {

void* FeatureLayer::query_more(REFIID riid) noexcept {
    if (riid == __uuidof(IFeatureLayer)) return static_cast<IFeatureLayer*>(static_cast<IFeatureRendering*>(this));
    return layer_interface(riid);
}

STDMETHODIMP FeatureLayer::get_FeatureClass(IFeatureClass** fc) {
    return boundary(__uuidof(IFeatureLayer), [&] { give(fc, class_); });
}
STDMETHODIMP FeatureLayer::putref_FeatureClass(IFeatureClass* fc) {
    return boundary(__uuidof(IFeatureLayer), [&] {
        class_ = fc;
        counts_ = {};
    });
}
STDMETHODIMP FeatureLayer::get_Renderer(IFeatureRenderer** r) {
    return boundary(__uuidof(IFeatureRendering), [&] { give(r, renderer_); });
}
STDMETHODIMP FeatureLayer::putref_Renderer(IFeatureRenderer* r) {
    return boundary(__uuidof(IFeatureRendering), [&] {
        renderer_ = r;
        counts_ = {};
    });
}

const FeatureLayer::Counts& FeatureLayer::counts() {
    const ULONGLONG features = revision_of(class_.get()), renderer = revision_of(renderer_.get());
    if (counts_.made && features && renderer && counts_.features == features && counts_.renderer == renderer)
        return counts_;
    Counts fresh;
    const FeatureClassifier classes(renderer_.get(), class_.get());
    fresh.per_class.assign(size_t(classes.count()), 0);
    if (class_) com::check(class_->get_FeatureCount(&fresh.total));
    if (classes.count() > 0)
        for (long i = 0; i < fresh.total; ++i)
            if (const long c = classes.class_of(i); c >= 0) ++fresh.per_class[size_t(c)];
    fresh.made = true;
    fresh.features = features;
    fresh.renderer = renderer;
    counts_ = std::move(fresh);
    return counts_;
}

STDMETHODIMP FeatureLayer::get_ClassFeatureCount(long index, long* n) {
    return boundary(__uuidof(IClassCounts), [&] {
        const Counts& c = counts();
        check_class(index, long(c.per_class.size()));
        out(n) = c.per_class[size_t(index)];
    });
}

STDMETHODIMP FeatureLayer::get_FeatureCount(long* n) {
    return boundary(__uuidof(IClassCounts), [&] { out(n) = counts().total; });
}

}  // namespace mapmodel
