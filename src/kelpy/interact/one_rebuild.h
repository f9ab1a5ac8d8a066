// A move of layers rebuilds the tree once: the rebuilds that its model calls ask for (the map's
// notifications) are held, and one follows at its end when a layer moved. A move that fails
// rebuilds too, so that the tree shows the map as the put-back left it.
#pragma once
#include "com/ptr.h"
#include "kelpy/model/typelib.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy::interact {

// `move` answers whether a layer moved.
template <class F>
bool MoveRebuildingOnce(tree::TreeBuilder& builder, const com::ComPtr<IMap>& map, F&& move) {
    tree::TreeBuilder::Batch batch(builder);
    bool moved = false;
    try {
        moved = move();
    } catch (...) {
        builder.Rebuild(map);  // held: the batch's end rebuilds, and the move's failure is reported
        throw;
    }
    if (moved) builder.Rebuild(map);
    batch.End();
    return moved;
}

}  // namespace kelpy::interact
