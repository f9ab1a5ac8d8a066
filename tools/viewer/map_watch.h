// MapWatch: tells a window, by a message posted to it, that what the map's view shows may have
// changed its scale: the extent was put (ExtentChanged), the layers and so the full extent changed
// (ContentsChanged, ContentsCleared), or the view was drawn anew (ViewRefreshed, after which a
// resize of its window shows). The message arrives once the map's own call is over.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include "com/ptr.h"
#include "mapmodel.h"

namespace viewer {

class MapWatch {
public:
    // A map without view events is watched by no one (nothing is posted).
    MapWatch(IMap* map, HWND window, UINT message);
    ~MapWatch();
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    class Sink;

private:
    com::ComPtr<Sink> sink_;
    com::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace viewer
