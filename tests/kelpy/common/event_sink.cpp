#include "kelpy/common/event_sink.h"
#include <algorithm>

namespace test {

size_t RecordingSink::count(DISPID id) const {
    return size_t(std::count_if(events.begin(), events.end(), [&](const ReceivedEvent& e) { return e.id == id; }));
}

void* RecordingSink::query_more(REFIID riid) noexcept {
    return riid == DIID___TOC || riid == DIID___TOC2 ? static_cast<IDispatch*>(this) : nullptr;
}

STDMETHODIMP RecordingSink::GetTypeInfoCount(UINT* n) {
    *n = 0;
    return S_OK;
}

STDMETHODIMP RecordingSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP RecordingSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

STDMETHODIMP RecordingSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    ReceivedEvent e{id, {}};
    const bool cancel = setCancel || std::find(cancelEvents.begin(), cancelEvents.end(), id) != cancelEvents.end() ||
                        (decide && decide(id));
    // The arguments come last first.
    for (UINT i = params->cArgs; i-- > 0;) {
        VARIANTARG& arg = params->rgvarg[i];
        e.types.push_back(arg.vt);
        if (arg.vt == (VT_BOOL | VT_BYREF) && cancel) *arg.pboolVal = VARIANT_TRUE;
        if (arg.vt == (VT_I4 | VT_BYREF)) e.contextMenuType = *arg.plVal;
        if (arg.vt == (VT_BSTR | VT_BYREF)) {
            e.text = *arg.pbstrVal ? std::wstring(*arg.pbstrVal, SysStringLen(*arg.pbstrVal)) : std::wstring();
            e.texts.push_back(e.text);
            if (newText) {
                SysFreeString(*arg.pbstrVal);
                *arg.pbstrVal = SysAllocStringLen(newText->data(), UINT(newText->size()));
            }
        }
        if (arg.vt == (VT_DISPATCH | VT_BYREF)) {
            e.hadObject = *arg.ppdispVal != nullptr;
            e.object = *arg.ppdispVal;
        }
    }
    events.push_back(e);
    return S_OK;
}

EventConnection::EventConnection(IUnknown* control, IUnknown* sink, REFIID source) {
    auto container = com::ComPtr<IUnknown>(control).as<IConnectionPointContainer>();
    com::check(container->FindConnectionPoint(source, point_.put()));
    com::check(point_->Advise(sink, &cookie_));
}

EventConnection::~EventConnection() {
    if (point_) point_->Unadvise(cookie_);
}

}  // namespace test
