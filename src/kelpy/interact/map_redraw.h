// MapRedraw: redraws the map after the user changed it through the tree. The host hears first
// (OnBeforeRefreshMap, which may cancel); then only the selected layer's geography is redrawn
// when a layer is selected, else everything.
#pragma once
#include "com/ptr.h"
#include "kelpy/interact/events.h"
#include "kelpy/model/typelib.h"

namespace kelpy::interact {

class MapRedraw {
public:
    MapRedraw(const com::ComPtr<IMap>& map, const com::ComPtr<ILayer>& selectedLayer, Events& events) noexcept
        : map_(map), selected_(selectedLayer), events_(events) {}

    // Asks the host, then redraws the map's view (a failure is told as a failed "refresh").
    void Refresh();
    // After a change the user made: the pending messages run, then the map is redrawn.
    void AfterChange();

private:
    const com::ComPtr<IMap>& map_;
    const com::ComPtr<ILayer>& selected_;
    Events& events_;
};

}  // namespace kelpy::interact
