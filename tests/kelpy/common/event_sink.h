// A sink of the control's events (__TOC or __TOC2) that records what it receives and, when told to, sets
// the by-reference `cancel` of events to True; and the connection that advises it.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace test {

// Dispatch ids of the events.
constexpr DISPID OnContextMenu = 1, OnSymbolSelector = 2, OnDragLayer = 3, OnBeforeRefreshMap = 4;
constexpr DISPID OnLayerRenaming = 1, OnActionFailed = 2;  // of __TOC2

// One event as a sink received it.
struct ReceivedEvent {
    DISPID id;
    std::vector<VARTYPE> types;  // argument types, first argument first
    LONG contextMenuType = -1;   // a by-reference long: OnContextMenu's node type, OnActionFailed's number
    bool hadObject = false;      // the object argument was not Nothing
    com::ComPtr<IDispatch> object;
    std::wstring text;           // a by-reference string's value, as it came
    std::vector<std::wstring> texts;  // every by-reference string, first argument first
};

class RecordingSink final : public com::ComObject<RecordingSink, IDispatch> {
public:
    static com::ComPtr<RecordingSink> make() { return create(); }

    bool setCancel = false;              // cancel every event
    std::vector<DISPID> cancelEvents;    // cancel these events
    std::function<bool(DISPID)> decide;  // when set: cancel the events it answers true for
    std::optional<std::wstring> newText; // when set: written into by-reference strings
    std::vector<ReceivedEvent> events;

    // How many of the received events have this id.
    size_t count(DISPID id) const;

    void* query_more(REFIID riid) noexcept;
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;
};

// Advises a sink on the control's connection point for __TOC (or another of its sources);
// unadvises at the end.
class EventConnection {
public:
    EventConnection(IUnknown* control, IUnknown* sink, REFIID source = DIID___TOC);
    ~EventConnection();
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;

private:
    com::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace test
