// FeatureClass: the features of a feature layer: a shape type (the geometry-type code; any
// code is kept) and a list of features, each a shape in map units with one value, which the
// renderers classify (a number for class breaks, its text for unique values).
#pragma once
#include <vector>
#include "com/object.h"
#include "com/variant.h"
#include "mapmodel/support.h"

namespace mapmodel {

class FeatureClass final : public com::ComObject<FeatureClass, Dispatch<IFeatureClass>, com::SupportErrorInfo> {
public:
    STDMETHODIMP get_ShapeType(long* type) override;
    STDMETHODIMP put_ShapeType(long type) override;
    STDMETHODIMP get_FeatureCount(long* n) override;
    STDMETHODIMP AddFeature(IGeometry* shape, VARIANT value) override;
    STDMETHODIMP get_Shape(long index, IGeometry** shape) override;
    STDMETHODIMP get_Value(long index, VARIANT* value) override;

private:
    struct Feature {
        com::ComPtr<IGeometry> shape;
        com::Variant value;
    };
    long shape_type_ = GeometryNull;
    std::vector<Feature> features_;
};

}  // namespace mapmodel
