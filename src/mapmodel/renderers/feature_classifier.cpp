#include "mapmodel/renderers/feature_classifier.h"
#include "com/bstr.h"
#include "com/variant.h"
#include "mapmodel/renderers/feature_values.h"

namespace mapmodel {

namespace {

using com::check;
using com::ComPtr;

// The field whose values a classifying renderer reads (empty for none).
std::wstring field_of(IFeatureRenderer* renderer) {
    ComPtr<IFeatureRenderer> r(renderer);
    com::Bstr field;
    if (auto breaks = r.query<IClassBreaksRenderer>()) {
        check(breaks->get_Field(field.put()));
    } else if (auto unique = r.query<IUniqueValueRenderer>()) {
        long n = 0;
        check(unique->get_FieldCount(&n));
        if (n > 0) check(unique->get_Field(0, field.put()));
    }
    return field.str();
}

}  // namespace

FeatureClassifier::FeatureClassifier(IFeatureRenderer* renderer, IFeatureClass* features) : features_(features) {
    if (!renderer) return;
    ComPtr<IFeatureRenderer> r(renderer);
    if (auto simple = r.query<ISimpleRenderer>()) {
        kind_ = Kind::Single;
        check(simple->get_Symbol(symbols_.emplace_back().put()));
    } else if (auto breaks = r.query<IClassBreaksRenderer>()) {
        kind_ = Kind::Breaks;
        breaks_ = ClassList::read(breaks.get());
        for (long i = 0; i < breaks_.count(); ++i) symbols_.push_back(breaks_.at(i).symbol);
    } else if (auto unique = r.query<IUniqueValueRenderer>()) {
        kind_ = Kind::Unique;
        long n = 0;
        check(unique->get_ValueCount(&n));
        for (long i = 0; i < n; ++i) {
            com::Bstr value;
            check(unique->get_Value(i, value.put()));
            check(unique->get_Symbol(value.get(), symbols_.emplace_back().put()));
            by_value_.emplace(value.str(), i);  // a host's repeated value: its first class
        }
        check(unique->get_DefaultSymbol(symbols_.emplace_back().put()));
    } else if (r.query<IPieChartRenderer>()) {
        kind_ = Kind::Single;
        ComPtr<IChartSymbol> chart;
        check(r.as<IChartRenderer>()->get_ChartSymbol(chart.put()));
        symbols_.push_back(chart ? chart.as<ISymbol>() : nullptr);
    }
    hidden_.assign(symbols_.size(), false);
    if (auto visibility = r.query<IClassVisibility>(); visibility && kind_ != Kind::Single) {
        for (long i = 0; i < count(); ++i) {
            VARIANT_BOOL visible = VARIANT_TRUE;
            check(visibility->get_ClassVisible(i, &visible));
            hidden_[size_t(i)] = !com::is_true(visible);
        }
    }
    // A renderer that names one of the class's attribute fields classifies by it; otherwise by
    // the features' own values.
    if (features && (kind_ == Kind::Breaks || kind_ == Kind::Unique))
        if (const std::wstring name = field_of(renderer); !name.empty()) check(features->FindField(com::Bstr(name).get(), &field_));
}

long FeatureClassifier::class_of(long feature) const {
    switch (kind_) {
    case Kind::None: return -1;
    case Kind::Single: return 0;
    default: break;
    }
    com::Variant value;
    check(field_ >= 0 ? features_->get_Attribute(feature, field_, value.put()) : features_->get_Value(feature, value.put()));
    if (kind_ == Kind::Breaks) {
        const std::optional<double> x = value_number(*value.get());
        return x ? breaks_.class_of(*x) : -1;
    }
    auto it = by_value_.find(value_text(*value.get()));
    return it == by_value_.end() ? count() - 1 : it->second;
}

}  // namespace mapmodel
