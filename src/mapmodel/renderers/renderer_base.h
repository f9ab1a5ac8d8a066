// What every renderer shares: its general interface (IFeatureRenderer or IRasterRenderer),
// which describes its kind in words, and the limit on its number of classes.
#pragma once
#include "com/boundary.h"
#include "mapmodel/support.h"

namespace mapmodel {

constexpr long kMaxClasses = 65536;

// I is IFeatureRenderer or IRasterRenderer; Self gives `static constexpr const wchar_t* kDescription`.
template <class Self, class I>
class RendererBase : public Dispatch<I> {
public:
    STDMETHODIMP get_Description(BSTR* text) override {
        return boundary(__uuidof(I), [&] { give_text(text, Self::kDescription); });
    }
};

}  // namespace mapmodel
