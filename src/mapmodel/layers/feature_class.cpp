#include "mapmodel/layers/feature_class.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IFeatureClass);
}

STDMETHODIMP FeatureClass::get_ShapeType(long* type) { return boundary(kIid, [&] { out(type) = shape_type_; }); }
STDMETHODIMP FeatureClass::put_ShapeType(long type) { return boundary(kIid, [&] { shape_type_ = type; }); }
STDMETHODIMP FeatureClass::get_FeatureCount(long* n) { return boundary(kIid, [&] { out(n) = long(features_.size()); }); }

// The feature class keeps a copy of the shape when it can be copied, so that the caller's
// object stays theirs; a shape that cannot copy itself is kept by reference.
STDMETHODIMP FeatureClass::AddFeature(IGeometry* shape, VARIANT value) {
    return boundary(kIid, [&] {
        com::ComPtr<IGeometry> g(required(shape, L"The feature's shape"));
        com::Variant v(value);
        features_.push_back({g.query<ICloneable>() ? clone_of(shape) : g, std::move(v)});
    });
}

STDMETHODIMP FeatureClass::get_Shape(long index, IGeometry** shape) {
    return boundary(kIid, [&] {
        check_index(index, features_.size(), L"the feature class");
        give(shape, features_[size_t(index)].shape);
    });
}

STDMETHODIMP FeatureClass::get_Value(long index, VARIANT* value) {
    return boundary(kIid, [&] {
        check_index(index, features_.size(), L"the feature class");
        VARIANT& o = out(value);
        VariantInit(&o);
        com::Variant copy(*features_[size_t(index)].value.get());
        copy.detach_to(&o);
    });
}

}  // namespace mapmodel
