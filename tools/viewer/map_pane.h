// MapPane: the viewer's right pane, a child window that shows the map. The map's view (IMapView)
// is attached to the window (its Window property), so the view's own refreshes — those that the
// TOC control asks for after every change, and the viewer's — draw straight into it; the pane
// paints the same picture whenever the window needs painting (WM_PAINT, and WM_PRINTCLIENT for a
// picture of it), drawn by the view (Output) off screen first. Without a map it shows a hint.
//
// The person moves about the map in the pane: the wheel zooms around the pointer (the map point
// under it stays there), + and − (main and numeric keys, with the pane focused; a press of a
// mouse button focuses it) zoom around the centre, and a drag with the left or the middle button
// pans, the map following the pointer, until the button is released or the capture lost. Each
// step hands the new extent to the pane's owner, which shows it.
#pragma once
#include <windows.h>
#include <functional>
#include <optional>
#include "com/ptr.h"
#include "layer_extent.h"
#include "mapmodel.h"

namespace viewer {

class MapPane {
public:
    // `show` puts an extent on the map's view and redraws it.
    MapPane(HWND parent, std::function<void(const Extent&)> show);
    ~MapPane();
    MapPane(const MapPane&) = delete;
    MapPane& operator=(const MapPane&) = delete;

    HWND window() const noexcept { return window_; }
    // Shows this view (attached to the window), or none; the previous view is detached.
    void Show(const com::ComPtr<IMapView>& view);
    const com::ComPtr<IMapView>& View() const noexcept { return view_; }
    // The view draws the map into the window now (IMapView.Refresh), or the pane its hint.
    void Refresh();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void Paint(HDC dc) const;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The extent the view shows and the window's client size; nothing without a map or an area.
    std::optional<Extent> Shown(SIZE& window) const;
    // Zooms by `factor` around a point of the window.
    void Zoom(POINT at, double factor);
    void StartDrag(POINT at, UINT release);
    void Drag(POINT at);

    HWND window_ = nullptr;
    com::ComPtr<IMapView> view_;
    std::function<void(const Extent&)> show_;
    // A drag: where it started, the extent shown then, the button's release message, and where
    // the map was last moved to.
    struct Dragging {
        POINT from;
        Extent start;
        UINT release;
        POINT last;
    };
    std::optional<Dragging> drag_;
};

}  // namespace viewer
