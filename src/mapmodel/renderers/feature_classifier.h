// How a feature renderer of any make, read through its interfaces, sorts the features of a
// feature class into its classes, numbered as IClassVisibility numbers them: a simple or
// pie-chart renderer has one class; class breaks count by position (a value above the last
// break, or no number, is in no class); unique values count by position, and every other value
// is in the default class after them. Drawing and the counts per class both sort through it, so
// a feature is counted in the class it is drawn with.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>
#include "com/ptr.h"
#include "mapmodel/renderers/class_list.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

class FeatureClassifier {
public:
    // Reads the renderer (its classes, symbols and hidden classes) once. A renderer of a kind
    // the model does not know, or Nothing, has no classes. Without features (Nothing) the
    // classes are known but no feature can be asked for.
    FeatureClassifier(IFeatureRenderer* renderer, IFeatureClass* features);

    long count() const { return long(symbols_.size()); }
    // The class of feature i, or -1 for none.
    long class_of(long feature) const;
    const com::ComPtr<ISymbol>& symbol(long cls) const { return symbols_[size_t(cls)]; }
    bool hidden(long cls) const { return hidden_[size_t(cls)]; }

private:
    enum class Kind { None, Single, Breaks, Unique };
    Kind kind_ = Kind::None;
    com::ComPtr<IFeatureClass> features_;
    long field_ = -1;  // the attribute field classified by; -1: the features' own values
    ClassList breaks_;
    std::unordered_map<std::wstring, long> by_value_;
    std::vector<com::ComPtr<ISymbol>> symbols_;
    std::vector<bool> hidden_;
};

}  // namespace mapmodel
