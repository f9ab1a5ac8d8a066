// ControlHost: a top-level window of a host application with one ActiveX control embedded in
// it through the OLE control protocol, the way a form embeds a control:
//   client site first (when the control asks for it), then InitNew or Load from saved state,
//   the extent, and in-place activation in the window; Close and release at the end.
// The window's client area is the control's: resizing the window moves the control's
// rectangle (IOleInPlaceObject::SetObjectRects). The window is a top-level window of its own, or
// a child window of an application's window (a pane of it).
#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <optional>
#include "com/ptr.h"
#include "control_site.h"
#include "picture.h"

namespace host {

// How the host starts the control: new, or from saved state in a stream or a property bag.
enum class Persistence { InitNew, StreamLoad, PropertyBagLoad };

struct HostOptions {
    std::optional<bool> userMode;  // the ambient UserMode; empty: the host does not say
    Persistence persistence = Persistence::InitNew;
    int width = 300;
    int height = 400;
    bool visible = true;
    POINT position{0, 0};  // of the host window on the screen, or in the parent's client area
    bool topmost = false;  // above every window that is not topmost (for mouse input)
    HWND parent = nullptr; // the host window is a child window of this window
};

class ControlHost {
public:
    // Embeds `control` (any object with IOleObject). Throws com::ComError on a failing step.
    ControlHost(IUnknown* control, const HostOptions& options);
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    HWND window() const noexcept { return window_; }
    // The control's own window (IOleWindow), or null.
    HWND controlWindow() const;
    ControlSite& site() const noexcept { return *site_.get(); }
    const com::ComPtr<IOleObject>& control() const noexcept { return object_; }

    // Sizes the host window's client area; the control follows.
    void resize(int width, int height);
    // Moves and sizes a child host window within its parent's client area; the control follows.
    void place(const RECT& bounds);
    // Closes the control and releases the host's references (the window stays).
    void close();
    // The control's picture at its size, drawn by the control itself (IViewObject::Draw) into
    // a 32-bit DIB section.
    Pixels render() const;

private:
    void layout();
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);

    HWND window_ = nullptr;
    com::ComPtr<ControlSite> site_;
    com::ComPtr<IOleObject> object_;
};

}  // namespace host
