// The TOC control's events as the viewer receives them: a sink of each of the control's event
// interfaces (__TOC, and __TOC2 for what goes beyond) advised on the control's connection points,
// which hands each event to a handler with its arguments unpacked, and gives back what the
// handler wrote into the by-reference arguments.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <string>
#include "com/ptr.h"
#include "kelpy.h"

namespace viewer {

class ControlEventHandler {
public:
    virtual void OnContextMenu(::TOCNodeType type) = 0;
    virtual void OnSymbolSelector(bool& cancel, ISymbol* symbol) = 0;
    virtual void OnDragLayer(bool& cancel, ILayer* layer) = 0;
    virtual void OnBeforeRefreshMap(bool& cancel) = 0;
    // __TOC2: a name edited in place is about to be written to the layer.
    virtual void OnLayerRenaming(ILayer* layer, std::wstring& newName, bool& cancel) = 0;
    // __TOC2: an action the person started failed ("toggle", "move", "symbol", "rename",
    // "refresh", "rebuild").
    virtual void OnActionFailed(const std::wstring& action, LONG number, const std::wstring& description) = 0;

protected:
    ~ControlEventHandler() = default;
};

// Advises sinks that call `handler` on the control's connection points; unadvises at the end, and
// from then on a call that still reaches a sink reaches no handler.
class ControlEvents {
public:
    ControlEvents(IUnknown* control, ControlEventHandler& handler);
    ~ControlEvents();
    ControlEvents(const ControlEvents&) = delete;
    ControlEvents& operator=(const ControlEvents&) = delete;

    class Sink;

private:
    struct Connection {
        com::ComPtr<Sink> sink;
        com::ComPtr<IConnectionPoint> point;
        DWORD cookie = 0;
    };
    Connection Advise(IUnknown* control, REFIID source, ControlEventHandler& handler);
    Connection first_, second_;  // __TOC, __TOC2
};

}  // namespace viewer
