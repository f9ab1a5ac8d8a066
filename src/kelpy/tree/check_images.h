// The check image of an item that stands for a layer, by key: "checked" for a visible layer,
// "unchecked" for a hidden one, "disconnected" for a layer item whose layer is not valid, and,
// with mixed group checks, "mixed" for a visible group layer some of whose members, at any
// depth, are hidden. A group layer is any layer that has members (ISubLayers), also one that
// the tree shows as a plain layer item.
//
// One CheckImages serves one pass over the tree (a rebuild, or the images following a change of
// visibility): whether all the members below a group are visible is read once per group,
// however deep it lies and however many groups above it ask, so a pass costs one reading per
// layer, not one per layer and depth. Without mixed group checks it asks exactly what a layer's
// or group's own image needs (validity, then visibility).
#pragma once
#include <unordered_map>
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace kelpy::tree {

class CheckImages {
public:
    explicit CheckImages(bool mixed) noexcept : mixed_(mixed) {}
    CheckImages(const CheckImages&) = delete;
    CheckImages& operator=(const CheckImages&) = delete;

    // The image of the item of `layer`: a layer item (`layerItem`), whose layer's validity
    // counts first, or a group item, which shows visibility only.
    const wchar_t* Of(ILayer* layer, bool layerItem);

private:
    // True when every member of `layer`, at any depth, is visible (a layer without members:
    // true).
    bool AllVisibleBelow(ILayer* layer);

    bool mixed_;
    // What AllVisibleBelow found, by the layer's identity (kept alive while it is remembered).
    struct Found {
        com::ComPtr<IUnknown> identity;
        bool all_visible;
    };
    std::unordered_map<IUnknown*, Found> below_;
};

}  // namespace kelpy::tree
