// ICloneable for our classes: Clone answers Self::duplicate(), a deep and independent copy.
#pragma once
#include "com/boundary.h"
#include "mapmodel/support.h"

namespace mapmodel {

template <class Self>
class Cloneable : public Dispatch<ICloneable> {
public:
    STDMETHODIMP Clone(ICloneable** copy) override {
        return boundary(__uuidof(ICloneable), [&] { give(copy, static_cast<Self*>(this)->duplicate()); });
    }
};

}  // namespace mapmodel
