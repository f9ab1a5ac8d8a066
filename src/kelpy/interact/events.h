// Events: the control's events of __TOC and __TOC2, raised to the sinks the container connected
// to each. Each passes its arguments by reference and gives back what the sinks left in them.
// Without sinks an event does nothing.
//
// A sink may do anything while it hears of an event, also let go of the control (release it,
// close it, destroy its window) or rebuild the tree. So every event goes through one helper
// (FireEvent) that holds the control while the sinks run and looks afterwards whether its host
// still has it and whether the item the event was about is still in the tree: when not, the
// action that raised the event ends there (ActionAbandoned is thrown: no failure, nothing is
// reported), before it touches anything of a control that may be gone.
//
// The failures of what a person started (a toggle, a move, a symbol, a rename, a redraw of the
// map, a rebuild after a change of the map) are told to the host by OnActionFailed, besides the
// debugger output where every failure of a window's message goes: the action runs inside
// ReportFailure, which raises the event once for the innermost action that failed.
#pragma once
#include <oaidl.h>
#include <functional>
#include <string>
#include "com/boundary.h"
#include "com/error.h"
#include "com/ptr.h"
#include "kelpy/model/typelib.h"
#include "kelpy/platform/handler.h"
#include "kelpy/platform/node.h"

namespace kelpy {

// The sinks of the control's events (__TOC), as the container protocol connects them.
class EventSinks {
public:
    // Calls `call` with every connected sink.
    virtual void ForEach(const std::function<void(IDispatch*)>& call) const = 0;

protected:
    ~EventSinks() = default;
};

// The control whose events these are: held while an event runs, and asked afterwards whether its
// host still has it.
class EventOwner {
public:
    // A reference of the control's own, and its end (which may destroy the control).
    virtual void Hold() noexcept = 0;
    virtual void Unhold() noexcept = 0;
    // False once the host let go of the control: nothing but the control's own references keep
    // it, or its window is gone.
    virtual bool Present() const noexcept = 0;

protected:
    ~EventOwner() = default;
};

class Events {
public:
    // The sinks of __TOC and of __TOC2, and the control they belong to (none: nothing is held).
    void Connect(const EventSinks* sinks, const EventSinks* sinks2 = nullptr, EventOwner* owner = nullptr) noexcept {
        sinks_ = sinks;
        sinks2_ = sinks2;
        owner_ = owner;
    }

    // `item`, where given, is the tree item the event is about: when the sinks removed it, the
    // action ends (ActionAbandoned), as it does when they let go of the control.
    void RaiseOnContextMenu(::TOCNodeType& nodeType);
    void RaiseOnSymbolSelector(bool& cancel, com::ComPtr<ISymbol>& symbol);
    void RaiseOnDragLayer(bool& cancel, com::ComPtr<ILayer>& layer, const platform::NodePtr& item = nullptr);
    void RaiseOnBeforeRefreshMap(bool& cancel);
    // __TOC2
    void RaiseOnLayerRenaming(com::ComPtr<ILayer>& layer, std::wstring& newName, bool& cancel);
    // The failure's status goes as Visual Basic's Err.Number shows it (ErrNumber).
    void RaiseOnActionFailed(const std::wstring& action, const com::ComError& failure);

private:
    // Calls every sink's Invoke with the event's dispatch id and arguments, then ends the caller
    // when the control or the item is gone (see above).
    void FireEvent(const EventSinks* sinks, DISPID id, DISPPARAMS& params, const platform::NodePtr& item = nullptr);
    void FireEvent(DISPID id, DISPPARAMS& params, const platform::NodePtr& item = nullptr) {
        FireEvent(sinks_, id, params, item);
    }
    // An event of a cancel flag and an object, both by reference.
    template <class I>
    void RaiseCancellable(DISPID id, bool& cancel, com::ComPtr<I>& object, const platform::NodePtr& item);

    const EventSinks* sinks_ = nullptr;
    const EventSinks* sinks2_ = nullptr;
    EventOwner* owner_ = nullptr;
};

// A status as Visual Basic's Err.Number shows it: the code alone for the control facility's
// errors (91 for "Object variable not set"), else the whole status.
LONG ErrNumber(HRESULT hr) noexcept;

// The action ended because the host let go of the control, or removed the item acted on, while it
// heard of an event.
struct ActionAbandoned : com::ComError {
    ActionAbandoned() : com::ComError(platform::E_ACTION_ABANDONED) {}
};

// A failure that OnActionFailed has told already: an action around the one that failed does not
// tell it again.
struct ToldFailure : com::ComError {
    explicit ToldFailure(const com::ComError& e) : com::ComError(e) {}
};

// Runs `action`, one of the things a person does ("toggle", "move", "symbol", "rename",
// "refresh", "rebuild"); when it fails, the host hears of it (OnActionFailed) and the failure goes
// on to the caller, which reports it as before. Answers what the action answers.
template <class F>
auto ReportFailure(Events& events, const wchar_t* action, F&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const ToldFailure&) {
        throw;
    } catch (const ActionAbandoned&) {
        throw;
    } catch (...) {
        const com::ComError failure = com::current_error();
        if (failure.hr() == platform::E_ACTION_ABANDONED) throw;
        // The host may let go of the control while it hears of this: nothing of it is touched
        // after the event.
        try {
            events.RaiseOnActionFailed(action, failure);
        } catch (...) {
        }
        throw ToldFailure(failure);
    }
}

}  // namespace kelpy
