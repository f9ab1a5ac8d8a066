// What every layer shares: a name, whether it is valid (its data could be reached) and
// whether it is visible. LayerBase<Self, I> implements ILayer's members for an interface I
// derived from ILayer (or ILayer itself).
#pragma once
#include <string>
#include "com/boundary.h"
#include "mapmodel/support.h"

namespace mapmodel {

template <class Self, class I>
class LayerBase : public Dispatch<I> {
public:
    STDMETHODIMP get_Name(BSTR* name) override {
        return boundary(__uuidof(ILayer), [&] { give_text(name, name_); });
    }
    STDMETHODIMP put_Name(BSTR name) override {
        return boundary(__uuidof(ILayer), [&] { name_ = com::view(name); });
    }
    STDMETHODIMP get_Valid(VARIANT_BOOL* valid) override {
        return boundary(__uuidof(ILayer), [&] { give_bool(valid, valid_); });
    }
    STDMETHODIMP put_Valid(VARIANT_BOOL valid) override {
        return boundary(__uuidof(ILayer), [&] { valid_ = com::is_true(valid); });
    }
    STDMETHODIMP get_Visible(VARIANT_BOOL* visible) override {
        return boundary(__uuidof(ILayer), [&] { give_bool(visible, visible_); });
    }
    STDMETHODIMP put_Visible(VARIANT_BOOL visible) override {
        return boundary(__uuidof(ILayer), [&] { visible_ = com::is_true(visible); });
    }
    void* layer_interface(REFIID riid) noexcept {
        if (riid == __uuidof(ILayer)) return static_cast<ILayer*>(static_cast<I*>(this));
        return nullptr;
    }

protected:
    std::wstring name_;
    bool valid_ = true;
    bool visible_ = true;
};

}  // namespace mapmodel
