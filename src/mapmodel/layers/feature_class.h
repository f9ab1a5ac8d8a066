// FeatureClass: the features of a feature layer: a shape type (the geometry-type code; any
// code is kept) and a list of features, each a shape in map units with one value, which the
// renderers classify (a number for class breaks, its text for unique values) unless they name
// one of the class's attribute fields. Features read from a data file also keep where they came
// from (the file and, for TopoJSON, the object) and the extent the file declared. Adding a
// feature or a field, or putting a value, is a new revision.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include "com/object.h"
#include "com/variant.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/revision.h"
#include "mapmodel/support.h"

namespace mapmodel {

class FeatureClass final : public com::ComObject<FeatureClass, Dispatch<IFeatureClass>, Revised, com::SupportErrorInfo> {
public:
    STDMETHODIMP get_ShapeType(long* type) override;
    STDMETHODIMP put_ShapeType(long type) override;
    STDMETHODIMP get_FeatureCount(long* n) override;
    STDMETHODIMP AddFeature(IGeometry* shape, VARIANT value) override;
    STDMETHODIMP get_Shape(long index, IGeometry** shape) override;
    STDMETHODIMP get_Value(long index, VARIANT* value) override;
    STDMETHODIMP get_FieldCount(long* n) override;
    STDMETHODIMP get_FieldName(long field, BSTR* name) override;
    STDMETHODIMP get_FieldType(long field, FieldType* type) override;
    STDMETHODIMP AddField(BSTR name, long* field) override;
    STDMETHODIMP FindField(BSTR name, long* field) override;
    STDMETHODIMP get_Attribute(long index, long field, VARIANT* value) override;
    STDMETHODIMP put_Attribute(long index, long field, VARIANT value) override;
    STDMETHODIMP get_Extent(IEnvelope** extent) override;
    STDMETHODIMP get_SourcePath(BSTR* path) override;
    STDMETHODIMP get_SourceObject(BSTR* name) override;

    // For readers of data files. A shape added here is kept as it is (not copied).
    long add(com::ComPtr<IGeometry> shape, com::Variant value);
    // The field of this name, added (after the others) when there is none yet.
    long field(std::wstring_view name);
    // Puts a value of this type (FieldNone for Null and Empty) into a field of a feature.
    void set(long index, long field, com::Variant value, FieldType type);
    // The value of a field of a feature; null when the feature has none.
    const com::Variant* attribute(long index, long field) const;
    void declare_extent(const Bounds& b) { declared_.add(b); }
    void set_source(std::wstring path, std::wstring object) {
        source_path_ = std::move(path);
        source_object_ = std::move(object);
    }
    Bounds extent() const;

private:
    // A feature keeps the values only of the fields it has (in the order of the fields): data
    // files may give every feature fields of its own, and a slot per field for every feature
    // would grow with the product of the two. A field a feature lacks reads as Empty.
    struct Feature {
        com::ComPtr<IGeometry> shape;
        com::Variant value;
        std::vector<std::pair<long, com::Variant>> attributes;  // by field, ascending
    };
    struct Field {
        std::wstring name;
        FieldType type = FieldNone;  // of the values put into it; FieldMixed for more than one
    };
    long shape_type_ = GeometryNull;
    std::vector<Feature> features_;
    std::vector<Field> fields_;
    std::unordered_map<std::wstring, long> by_name_;
    Bounds declared_;
    std::wstring source_path_, source_object_;
};

}  // namespace mapmodel
