// A list of classes by position, each with an upper break value, a label and a symbol (held
// by reference): the storage of the class-breaks and raster classify renderers.
#pragma once
#include <string>
#include <vector>
#include "mapmodel/renderers/renderer_base.h"

namespace mapmodel {

class ClassList {
public:
    struct Class {
        double upper = 0;
        std::wstring label;
        com::ComPtr<ISymbol> symbol;
    };

    long count() const { return long(classes_.size()); }
    // New classes come empty; dropped classes go with their symbols.
    void resize(long n);
    Class& at(long index);
    // The class of a value: the first whose break is at or above it, else the last.
    const Class* find(double value) const;

private:
    std::vector<Class> classes_;
};

}  // namespace mapmodel
