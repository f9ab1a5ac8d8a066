// The check state of a row that stands for a layer, and its image key: "checked" for a visible
// layer, "unchecked" for a hidden one, "disconnected" for a layer row whose layer is not valid,
// and, with mixed group checks, "mixed" for a visible group layer some of whose members, at any
// depth, are hidden. A group layer is any layer that has members (ISubLayers), also one that
// the tree shows as a plain layer item.
//
// One CheckImages serves one pass over the tree (a rebuild, or the images following a change of
// visibility): whether all the members below a group are visible is read once per group,
// however deep it lies and however many groups above it ask, so a pass costs one reading per
// layer, not one per layer and depth. Without mixed group checks it asks exactly what a layer's
// or group's own image needs (validity, then visibility).
#pragma once
#include <cstdint>
#include <unordered_map>
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace kelpy::toc {

enum class Check : uint8_t { None, Checked, Unchecked, Mixed, Disconnected };
// The key of the check's image in the tree's image list ("" for none).
const wchar_t* ImageOf(Check check) noexcept;

class CheckImages {
public:
    explicit CheckImages(bool mixed) noexcept : mixed_(mixed) {}
    CheckImages(const CheckImages&) = delete;
    CheckImages& operator=(const CheckImages&) = delete;

    // The check of the row of `layer`: a layer row (`layerRow`), whose layer's validity counts
    // first, or a group row, which shows visibility only.
    Check Of(ILayer* layer, bool layerRow);

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

}  // namespace kelpy::toc
