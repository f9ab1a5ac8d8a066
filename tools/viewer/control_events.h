// The TOC control's events as the viewer receives them: a sink of the control's event interface
// (__TOC) advised on the control's connection point, which hands each event to a handler with
// its arguments unpacked, and gives back what the handler wrote into `cancel`.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include "com/ptr.h"
#include "kelpy.h"

namespace viewer {

class ControlEventHandler {
public:
    virtual void OnContextMenu(::TOCNodeType type) = 0;
    virtual void OnSymbolSelector(bool& cancel, ISymbol* symbol) = 0;
    virtual void OnDragLayer(bool& cancel, ILayer* layer) = 0;
    virtual void OnBeforeRefreshMap(bool& cancel) = 0;

protected:
    ~ControlEventHandler() = default;
};

// Advises a sink that calls `handler` on the control's connection point; unadvises at the end, and
// from then on a call that still reaches the sink reaches no handler.
class ControlEvents {
public:
    ControlEvents(IUnknown* control, ControlEventHandler& handler);
    ~ControlEvents();
    ControlEvents(const ControlEvents&) = delete;
    ControlEvents& operator=(const ControlEvents&) = delete;

    class Sink;

private:
    com::ComPtr<Sink> sink_;
    com::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace viewer
