// TocEvents: the object that _TOC3.Events answers, one per control. Its default source is
// __TOC2, so a host that connects to an object's default source only (a form's WithEvents, a
// wrapper generated for a control, a script's ConnectObject) hears the events of __TOC2 through
// it; the control's own connection point for __TOC2 stays as it was. The object knows nothing of
// the control: the control raises __TOC2 to its sinks as well as to its own (OleControl's
// AddEventSource), and a host that keeps the object after the control went hears nothing more.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include "com/connection_point.h"
#include "com/object.h"
#include "kelpy/interact/events.h"
#include "kelpy/model/typelib.h"

namespace kelpy {

class TocEvents final : public com::ComObject<TocEvents, Dispatch<_TOCEvents>, com::ConnectionPointContainer<TocEvents>,
                                              IProvideClassInfo2, com::SupportErrorInfo>,
                        public EventSinks {
public:
    TocEvents() : point_(add_connection_point(DIID___TOC2)) {}

    void* query_more(REFIID riid) noexcept;
    // IProvideClassInfo2: the class TOCEvents and its default source, __TOC2.
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // The sinks advised on the object.
    void ForEach(const std::function<void(IDispatch*)>& call) const override;

private:
    com::ConnectionPoint& point_;
};

}  // namespace kelpy
