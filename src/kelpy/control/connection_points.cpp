// The control's events reach its container through the connection point for __TOC, and the
// container learns the control's class and event interface through IProvideClassInfo2.
#include "com/boundary.h"
#include "kelpy/control/toc.h"

namespace kelpy {

Toc::OleEvents::OleEvents(Toc& toc) : point_(toc.add_connection_point(DIID___TOC)) {
    toc.m_events.Connect(this);
}

void Toc::OleEvents::ForEach(const std::function<void(IDispatch*)>& call) const {
    if (frozen > 0) return;
    point_.fire<IDispatch>([&](IDispatch* sink) { call(sink); });
}

STDMETHODIMP Toc::GetClassInfo(ITypeInfo** info) {
    return com::boundary(IID_IProvideClassInfo, [&] {
        if (!info) com::raise(E_POINTER);
        *info = nullptr;
        *info = com::type_info(KelpyLib::libid(), KelpyLib::major, KelpyLib::minor, CLSID_TOC).detach();
    });
}

STDMETHODIMP Toc::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    *guid = GUID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = DIID___TOC;
    return S_OK;
}

void* Toc::query_more(REFIID riid) noexcept {
    if (riid == IID_IOleWindow) return static_cast<IOleInPlaceObject*>(this);
    if (riid == IID_IViewObject) return static_cast<IViewObject2*>(this);
    if (riid == IID_IPersist) return static_cast<IPersistStreamInit*>(this);
    if (riid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo2*>(this);
    return nullptr;
}

}  // namespace kelpy
