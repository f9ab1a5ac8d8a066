// What the container tests share: a control made in this test program and hosted by our own
// container (host::ControlHost), the check that a window is hooked by a given module, and an
// event sink that records what it receives.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <string>
#include <vector>
#include "com/object.h"
#include "com/ptr.h"
#include "control_host.h"
#include "kelpy/control/toc.h"

namespace test {

// A new control of this program's own code (its class factory's instance).
com::ComPtr<kelpy::Toc> new_control();
// How our container hosts it: size, ambient UserMode (empty: not offered), persistence.
host::HostOptions options(int width, int height, std::optional<bool> userMode = true,
                          host::Persistence persistence = host::Persistence::InitNew);
bool same_rect(const RECT& a, const RECT& b);

// True when the window's procedure was replaced (it is not its class's) by code of `module`.
bool hooked_by(HWND window, HMODULE module);
// The window's rectangle in the client coordinates of its parent.
RECT rect_in_parent(HWND window);
// The bounding box of the pixels that are not `background`; empty when there are none.
RECT ink_box(const host::Pixels& p, DWORD background);

// One event as a sink received it.
struct ReceivedEvent {
    DISPID id;
    std::vector<VARTYPE> types;  // argument types, first argument first
    LONG contextMenuType = -1;   // OnContextMenu's node type
    bool hadObject = false;      // the object argument was not Nothing
};

// A sink of __TOC (answers the event interface and IDispatch) that records every call and, when
// told to, sets the by-reference `cancel` of the event to True.
class RecordingSink final : public com::ComObject<RecordingSink, IDispatch> {
public:
    bool setCancel = false;
    std::vector<ReceivedEvent> events;

    void* query_more(REFIID riid) noexcept;
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;
};

// Advises a sink on the control's connection point for __TOC; unadvises at the end.
class EventConnection {
public:
    EventConnection(IUnknown* control, IUnknown* sink);
    ~EventConnection();
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;

private:
    com::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace test
