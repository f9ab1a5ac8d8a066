// GroupLayer: a layer made of layers, in drawing order (index 0 on top); Add appends at the
// bottom. A layer is a member at most once, and a group never contains itself, directly or
// through its members. Changes inside a group notify no one: a map's notifications are about
// its own top-level layers.
#pragma once
#include <vector>
#include "com/object.h"
#include "mapmodel/layers/layer_base.h"
#include "mapmodel/layers/scale_range.h"

namespace mapmodel {

class GroupLayer final : public com::ComObject<GroupLayer, LayerBase<GroupLayer, IGroupLayer>, Dispatch<ISubLayers>,
                                                ScaleRange, com::SupportErrorInfo> {
public:
    void* query_more(REFIID riid) noexcept { return layer_interface(riid); }

    STDMETHODIMP Add(ILayer* layer) override;
    STDMETHODIMP Delete(ILayer* layer) override;
    STDMETHODIMP Clear() override;
    STDMETHODIMP get_Count(long* n) override;
    STDMETHODIMP get_Layer(long index, ILayer** layer) override;

private:
    std::vector<com::ComPtr<ILayer>> members_;
};

// The position of a layer (by identity) in a list, or -1.
long position_of(const std::vector<com::ComPtr<ILayer>>& list, IUnknown* layer);

}  // namespace mapmodel
