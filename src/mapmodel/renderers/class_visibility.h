// Classes of a renderer shown or hidden (IClassVisibility). The map draws no feature or cell of
// a hidden class; every class is shown until it is hidden.
#pragma once
#include "mapmodel/support.h"

namespace mapmodel {

// An index among a renderer's `count` classes; raises E_INVALIDARG naming the index and the range.
void check_class(long index, long count);

// IClassVisibility for a renderer Self that gives `long class_count()` and `bool& hidden(long)`
// (for an index in range), listed among the interfaces of its ComObject.
template <class Self>
class ClassVisibility : public Dispatch<IClassVisibility> {
public:
    STDMETHODIMP get_ClassVisible(long index, VARIANT_BOOL* visible) override {
        return boundary(__uuidof(IClassVisibility), [&] { give_bool(visible, !flag(index)); });
    }
    STDMETHODIMP put_ClassVisible(long index, VARIANT_BOOL visible) override {
        return boundary(__uuidof(IClassVisibility), [&] { flag(index) = !com::is_true(visible); });
    }

private:
    bool& flag(long index) {
        Self& self = static_cast<Self&>(*this);
        check_class(index, self.class_count());
        return self.hidden(index);
    }
};

}  // namespace mapmodel
