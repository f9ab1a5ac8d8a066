// The control's events reach its container through one connection point per source
// dispinterface (and, for a source that has them, the sinks of another object); while the container freezes events (IOleControl::FreezeEvents), no event
// reaches the sinks. The container learns the control's class and its default source through
// IProvideClassInfo2.
#include "com/boundary.h"
#include "com/dispatch.h"
#include "kelpy/control/ole_control.h"
#include "kelpy/model/typelib.h"

namespace kelpy {

void OleControl::EventSource::ForEach(const std::function<void(IDispatch*)>& call) const {
    if (frozen_ > 0) return;
    point_.fire<IDispatch>([&](IDispatch* sink) { call(sink); });
    if (also_) also_->ForEach(call);
}

OleControl::~OleControl() = default;

const EventSinks& OleControl::AddEventSource(REFIID iid, const EventSinks* also) {
    m_eventSources.push_back(std::make_unique<EventSource>(add_connection_point(iid), m_frozenEvents, also));
    return *m_eventSources.back();
}

STDMETHODIMP OleControl::GetClassInfo(ITypeInfo** info) {
    return com::boundary(IID_IProvideClassInfo, [&] {
        if (!info) com::raise(E_POINTER);
        *info = nullptr;
        *info = com::type_info(KelpyLib::libid(), KelpyLib::major, KelpyLib::minor, clsid_).detach();
    });
}

STDMETHODIMP OleControl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    *guid = GUID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID || m_eventSources.empty()) return E_INVALIDARG;
    *guid = m_eventSources.front()->iid();
    return S_OK;
}

void* OleControl::Query(REFIID riid) noexcept {
    if (riid == IID_IOleObject) return static_cast<IOleObject*>(this);
    if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow) return static_cast<IOleInPlaceObject*>(this);
    if (riid == IID_IOleInPlaceActiveObject) return static_cast<IOleInPlaceActiveObject*>(this);
    if (riid == IID_IOleControl) return static_cast<IOleControl*>(this);
    if (riid == IID_IViewObject2 || riid == IID_IViewObject) return static_cast<IViewObject2*>(this);
    if (riid == IID_IPersistStreamInit || riid == IID_IPersist) return static_cast<IPersistStreamInit*>(this);
    if (riid == IID_IPersistPropertyBag) return static_cast<IPersistPropertyBag*>(this);
    if (riid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    if (riid == IID_IProvideClassInfo2 || riid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo2*>(this);
    return nullptr;
}

}  // namespace kelpy
