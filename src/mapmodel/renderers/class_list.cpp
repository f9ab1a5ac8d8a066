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

long ClassList::class_of(double value) const {
    for (size_t i = 0; i < classes_.size(); ++i)
        if (value <= classes_[i].upper) return long(i);
    return -1;
}

com::ComPtr<ISymbol> ClassList::symbol_for(double value) const {
    const long i = class_of(value);
    return i < 0 || classes_[size_t(i)].hidden ? nullptr : classes_[size_t(i)].symbol;
}

}  // namespace mapmodel
