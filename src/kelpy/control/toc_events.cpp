#include "kelpy/control/toc_events.h"
#include "com/boundary.h"
#include "com/dispatch.h"

namespace kelpy {

void* TocEvents::query_more(REFIID riid) noexcept {
    if (riid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo2*>(this);
    return nullptr;
}

STDMETHODIMP TocEvents::GetClassInfo(ITypeInfo** info) {
    return com::boundary(IID_IProvideClassInfo, [&] {
        if (!info) com::raise(E_POINTER);
        *info = nullptr;
        *info = com::type_info(KelpyLib::libid(), KelpyLib::major, KelpyLib::minor, CLSID_TOCEvents).detach();
    });
}

STDMETHODIMP TocEvents::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    *guid = GUID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = DIID___TOC2;
    return S_OK;
}

void TocEvents::ForEach(const std::function<void(IDispatch*)>& call) const {
    point_.fire<IDispatch>([&](IDispatch* sink) { call(sink); });
}

}  // namespace kelpy
