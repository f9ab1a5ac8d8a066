// Events: the control's events of __TOC and __TOC2, raised to the sinks the container connected
// to each. Each passes its arguments by reference and gives back what the sinks left in them.
// Without sinks an event does nothing.
#pragma once
#include <oaidl.h>
#include <functional>
#include <string>
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace kelpy {

// The sinks of the control's events (__TOC), as the container protocol connects them.
class EventSinks {
public:
    // Calls `call` with every connected sink.
    virtual void ForEach(const std::function<void(IDispatch*)>& call) const = 0;

protected:
    ~EventSinks() = default;
};

class Events {
public:
    // The sinks of __TOC and of __TOC2.
    void Connect(const EventSinks* sinks, const EventSinks* sinks2 = nullptr) noexcept {
        sinks_ = sinks;
        sinks2_ = sinks2;
    }

    void RaiseOnContextMenu(::TOCNodeType& nodeType);
    void RaiseOnSymbolSelector(bool& cancel, com::ComPtr<ISymbol>& symbol);
    void RaiseOnDragLayer(bool& cancel, com::ComPtr<ILayer>& layer);
    void RaiseOnBeforeRefreshMap(bool& cancel);
    // __TOC2
    void RaiseOnLayerRenaming(com::ComPtr<ILayer>& layer, std::wstring& newName, bool& cancel);

private:
    // Calls every sink's Invoke with the event's dispatch id and arguments.
    static void FireEvent(const EventSinks* sinks, DISPID id, DISPPARAMS& params);
    void FireEvent(DISPID id, DISPPARAMS& params) { FireEvent(sinks_, id, params); }
    // An event of a cancel flag and an object, both by reference.
    template <class I>
    void RaiseCancellable(DISPID id, bool& cancel, com::ComPtr<I>& object);

    const EventSinks* sinks_ = nullptr;
    const EventSinks* sinks2_ = nullptr;
};

}  // namespace kelpy
