#include "mapmodel/layers/group_layer.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IGroupLayer);
}

long position_of(const std::vector<com::ComPtr<ILayer>>& list, IUnknown* layer) {
    for (size_t i = 0; i < list.size(); ++i)
        if (com::same_object(list[i].get(), layer)) return long(i);
    return -1;
}

STDMETHODIMP GroupLayer::Add(ILayer* layer) {
    return boundary(kIid, [&] {
        required(layer, L"The layer");
        if (position_of(members_, layer) >= 0) com::raise(E_INVALIDARG, L"The layer is already a member of the group");
        if (holds(layer, unknown(), &ISubLayers::get_Count, &ISubLayers::get_Layer))
            com::raise(E_INVALIDARG, L"A group layer cannot contain itself");
        members_.push_back(layer);
    });
}

STDMETHODIMP GroupLayer::Delete(ILayer* layer) {
    return boundary(kIid, [&] {
        long i = position_of(members_, required(layer, L"The layer"));
        if (i < 0) com::raise(E_INVALIDARG, L"The layer is not a member of the group");
        com::ComPtr<ILayer> gone = std::move(members_[size_t(i)]);  // released after the list is whole again
        members_.erase(members_.begin() + i);
    });
}

STDMETHODIMP GroupLayer::Clear() {
    return boundary(kIid, [&] {
        auto gone = std::move(members_);
        members_.clear();
    });
}

STDMETHODIMP GroupLayer::get_Count(long* n) {
    return boundary(__uuidof(ISubLayers), [&] { out(n) = long(members_.size()); });
}

STDMETHODIMP GroupLayer::get_Layer(long index, ILayer** layer) {
    return boundary(__uuidof(ISubLayers), [&] {
        check_index(index, members_.size(), L"the group layer");
        give(layer, members_[size_t(index)]);
    });
}

}  // namespace mapmodel
