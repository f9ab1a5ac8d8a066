#include "mapmodel/layers/feature_class.h"
#include <algorithm>
#include "mapmodel/geometry/envelope.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IFeatureClass);

// The type of an attribute value put through the interface; values of other types are refused.
// Numbers of every numeric type are kept as doubles.
FieldType value_type(com::Variant& v) {
    switch (v.type()) {
    case VT_EMPTY:
    case VT_NULL: return FieldNone;
    case VT_BSTR: return FieldText;
    case VT_BOOL: return FieldBoolean;
    case VT_R8: return FieldNumber;
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
    case VT_R4: case VT_CY: case VT_DECIMAL:
        v = com::Variant::from_double(v.to_double());
        return FieldNumber;
    default:
        com::raise(E_INVALIDARG, L"An attribute is a number, a text, True or False, Null or Empty; this one is of variant type " +
                                     std::to_wstring(v.type()));
    }
}
}  // namespace

STDMETHODIMP FeatureClass::get_ShapeType(long* type) { return boundary(kIid, [&] { out(type) = shape_type_; }); }
STDMETHODIMP FeatureClass::put_ShapeType(long type) { return boundary(kIid, [&] { shape_type_ = type; }); }
STDMETHODIMP FeatureClass::get_FeatureCount(long* n) { return boundary(kIid, [&] { out(n) = long(features_.size()); }); }

long FeatureClass::add(com::ComPtr<IGeometry> shape, com::Variant value) {
    features_.push_back({std::move(shape), std::move(value), {}});
    revised();
    return long(features_.size() - 1);
}

// The feature class keeps a copy of the shape when it can be copied, so that the caller's
// object stays theirs; a shape that cannot copy itself is kept by reference.
STDMETHODIMP FeatureClass::AddFeature(IGeometry* shape, VARIANT value) {
    return boundary(kIid, [&] {
        com::ComPtr<IGeometry> g(required(shape, L"The feature's shape"));
        com::Variant v(value);
        add(g.query<ICloneable>() ? clone_of(shape) : g, std::move(v));
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

long FeatureClass::field(std::wstring_view name) {
    std::wstring key(name);
    if (auto it = by_name_.find(key); it != by_name_.end()) return it->second;
    fields_.push_back({key, FieldNone});
    revised();
    by_name_.emplace(std::move(key), long(fields_.size() - 1));
    return long(fields_.size() - 1);
}

void FeatureClass::set(long index, long field, com::Variant value, FieldType type) {
    Field& f = fields_[size_t(field)];
    revised();
    if (type != FieldNone) f.type = f.type == FieldNone || f.type == type ? type : FieldMixed;
    auto& values = features_[size_t(index)].attributes;
    // Readers put the fields of a feature in ascending order: then the search ends at once.
    auto at = values.end();
    if (!values.empty() && values.back().first >= field)
        at = std::lower_bound(values.begin(), values.end(), field, [](const auto& v, long f) { return v.first < f; });
    if (at != values.end() && at->first == field) at->second = std::move(value);
    else values.emplace(at, field, std::move(value));
}

const com::Variant* FeatureClass::attribute(long index, long field) const {
    const auto& values = features_[size_t(index)].attributes;
    auto at = std::lower_bound(values.begin(), values.end(), field, [](const auto& v, long f) { return v.first < f; });
    return at != values.end() && at->first == field ? &at->second : nullptr;
}

STDMETHODIMP FeatureClass::get_FieldCount(long* n) { return boundary(kIid, [&] { out(n) = long(fields_.size()); }); }

STDMETHODIMP FeatureClass::get_FieldName(long field, BSTR* name) {
    return boundary(kIid, [&] {
        check_index(field, fields_.size(), L"the list of fields");
        give_text(name, fields_[size_t(field)].name);
    });
}

STDMETHODIMP FeatureClass::get_FieldType(long field, FieldType* type) {
    return boundary(kIid, [&] {
        check_index(field, fields_.size(), L"the list of fields");
        out(type) = fields_[size_t(field)].type;
    });
}

STDMETHODIMP FeatureClass::AddField(BSTR name, long* field) {
    return boundary(kIid, [&] {
        std::wstring_view n = com::view(name);
        if (n.empty()) com::raise(E_INVALIDARG, L"A field needs a name");
        if (by_name_.count(std::wstring(n)))
            com::raise(com::CTL_E_KEYNOTUNIQUE, L"The feature class already has a field " + in_quotes(n));
        out(field) = this->field(n);
    });
}

STDMETHODIMP FeatureClass::FindField(BSTR name, long* field) {
    return boundary(kIid, [&] {
        auto it = by_name_.find(std::wstring(com::view(name)));
        out(field) = it == by_name_.end() ? -1 : it->second;
    });
}

STDMETHODIMP FeatureClass::get_Attribute(long index, long field, VARIANT* value) {
    return boundary(kIid, [&] {
        check_index(index, features_.size(), L"the feature class");
        check_index(field, fields_.size(), L"the list of fields");
        VARIANT& o = out(value);
        VariantInit(&o);
        if (const com::Variant* value = attribute(index, field)) {
            com::Variant copy(*value->get());
            copy.detach_to(&o);
        }
    });
}

STDMETHODIMP FeatureClass::put_Attribute(long index, long field, VARIANT value) {
    return boundary(kIid, [&] {
        check_index(index, features_.size(), L"the feature class");
        check_index(field, fields_.size(), L"the list of fields");
        com::Variant v(value);
        const FieldType type = value_type(v);
        set(index, field, std::move(v), type);
    });
}

Bounds FeatureClass::extent() const {
    Bounds b = declared_;
    for (const Feature& f : features_) {
        com::ComPtr<IEnvelope> e;
        com::check(f.shape->get_Envelope(e.put()));
        b.add(bounds_of(e.get()));
    }
    return b;
}

STDMETHODIMP FeatureClass::get_Extent(IEnvelope** extent) {
    return boundary(kIid, [&] { give(extent, make_envelope(this->extent())); });
}

STDMETHODIMP FeatureClass::get_SourcePath(BSTR* path) { return boundary(kIid, [&] { give_text(path, source_path_); }); }
STDMETHODIMP FeatureClass::get_SourceObject(BSTR* name) { return boundary(kIid, [&] { give_text(name, source_object_); }); }

}  // namespace mapmodel
