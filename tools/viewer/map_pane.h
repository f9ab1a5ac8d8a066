// MapPane: the viewer's right pane, a child window that shows the map. The map's view (IMapView)
// is attached to the window (its Window property), so the view's own refreshes — those that the
// TOC control asks for after every change, and the viewer's — draw straight into it; the pane
// paints the same picture whenever the window needs painting (WM_PAINT, and WM_PRINTCLIENT for a
// picture of it), drawn by the view (Output) off screen first. Without a map it shows a hint.
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "mapmodel.h"

namespace viewer {

class MapPane {
public:
    explicit MapPane(HWND parent);
    ~MapPane();
    MapPane(const MapPane&) = delete;
    MapPane& operator=(const MapPane&) = delete;

    HWND window() const noexcept { return window_; }
    // Shows this view (attached to the window), or none; the previous view is detached.
    void Show(const com::ComPtr<IMapView>& view);
    const com::ComPtr<IMapView>& View() const noexcept { return view_; }
    // The view draws the map into the window now (IMapView.Refresh).
    void Refresh();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void Paint(HDC dc) const;

    HWND window_ = nullptr;
    com::ComPtr<IMapView> view_;
};

}  // namespace viewer
