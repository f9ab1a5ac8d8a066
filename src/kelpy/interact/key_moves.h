// KeyMoves: Alt with an arrow on a layer item moves its layer (keyboard.cpp), with the checks,
// the one rebuild and the redraw of a drop.
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "kelpy/interact/layer_moves.h"
#include "kelpy/interact/map_redraw.h"
#include "kelpy/model/options.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/node.h"

namespace kelpy::tree {
class TreeBuilder;
}

namespace kelpy::interact {

class KeyMoves {
public:
    KeyMoves(const com::ComPtr<IMap>& map, com::ComPtr<ILayer>& selectedLayer, LayerMoves& moves,
             tree::TreeBuilder& builder, MapRedraw& redraw, const Options& options) noexcept
        : map_(map), selected_(selectedLayer), moves_(moves), builder_(builder), redraw_(redraw), options_(options) {}

    // The arrow `key` on the layer item `node` (its record `record`) of a control with a map.
    void Move(WPARAM key, const platform::NodePtr& node, const com::ComPtr<TocNode>& record);

private:
    const com::ComPtr<IMap>& map_;
    com::ComPtr<ILayer>& selected_;
    LayerMoves& moves_;
    tree::TreeBuilder& builder_;
    MapRedraw& redraw_;
    const Options& options_;
};

}  // namespace kelpy::interact
