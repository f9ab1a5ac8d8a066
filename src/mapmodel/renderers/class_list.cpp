#include "mapmodel/renderers/class_list.h"

namespace mapmodel {

void ClassList::resize(long n) {
    check_count(n, kMaxClasses, L"classes");
    classes_.resize(size_t(n));
}

ClassList::Class& ClassList::at(long index) {
    check_index(index, classes_.size(), L"the renderer's class list");
    return classes_[size_t(index)];
}

com::ComPtr<ISymbol> ClassList::symbol_for(double value) const {
    for (const Class& c : classes_)
        if (value <= c.upper) return c.symbol;
    return nullptr;
}

}  // namespace mapmodel
