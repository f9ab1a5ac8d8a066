// IOleObject: how a container embeds the control. The container gives the control its client
// site, asks for its extent and status bits, and activates it in place with a verb; Close ends
// the control's hosting.
#include "com/boundary.h"
#include "kelpy/control/ole_control.h"

namespace kelpy {

STDMETHODIMP OleControl::SetClientSite(IOleClientSite* site) {
    return com::boundary(IID_IOleObject, [&] {
        m_pClientSite = site;
        if (!site) m_pInPlaceSite = nullptr;
    });
}

STDMETHODIMP OleControl::GetClientSite(IOleClientSite** site) {
    return com::boundary(IID_IOleObject, [&] {
        if (!site) com::raise(E_POINTER);
        *site = com::ComPtr<IOleClientSite>(m_pClientSite).detach();
    });
}

STDMETHODIMP OleControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

// Ends the hosting: the windows get their procedures back, the in-place window goes, and the
// advise sinks hear that the control closed. There is nothing to save.
STDMETHODIMP OleControl::Close(DWORD) {
    return com::boundary(IID_IOleObject, [&] {
        com::ComPtr<IOleObject> keep(this);  // the site may release the control while it is told
        OleClose();
        DeactivateInPlace();
        if (m_pOleAdviseHolder) m_pOleAdviseHolder->SendOnClose();
    });
}

STDMETHODIMP OleControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP OleControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP OleControl::GetClipboardData(DWORD, IDataObject** data) {
    if (data) *data = nullptr;
    return E_NOTIMPL;
}

// Every verb that shows the control activates it in place inside the site's window; the
// primary verb, Show and UIActivate also make it the UI-active object. Hide hides the window.
// The control cannot open in a window of its own. A positive verb that it does not know acts
// as the primary verb and answers OLEOBJ_S_INVALIDVERB, as containers expect.
STDMETHODIMP OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
    bool unknown = false;
    HRESULT hr = com::boundary(IID_IOleObject, [&] {
        IOleClientSite* on = site ? site : m_pClientSite.get();
        switch (verb) {
        case OLEIVERB_INPLACEACTIVATE:
            ActivateInPlace(on, false);
            break;
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_UIACTIVATE:
            ActivateInPlace(on, true);
            break;
        case OLEIVERB_HIDE:
            if (HWND window = OleWindow()) ShowWindow(window, SW_HIDE);
            break;
        default:
            if (verb < 0) com::raise(E_NOTIMPL, L"The control does not support this verb");
            unknown = true;
            ActivateInPlace(on, true);
            break;
        }
    });
    return SUCCEEDED(hr) && unknown ? OLEOBJ_S_INVALIDVERB : hr;
}

STDMETHODIMP OleControl::EnumVerbs(IEnumOLEVERB** verbs) {
    if (!verbs) return E_POINTER;
    *verbs = nullptr;
    return OleRegEnumVerbs(clsid_, verbs);
}

STDMETHODIMP OleControl::Update() { return S_OK; }
STDMETHODIMP OleControl::IsUpToDate() { return S_OK; }

STDMETHODIMP OleControl::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

STDMETHODIMP OleControl::GetUserType(DWORD form, LPOLESTR* type) {
    if (!type) return E_POINTER;
    *type = nullptr;
    return OleRegGetUserType(clsid_, form, type);
}

// The extent is kept as the container gives it; in place, the window follows SetObjectRects.
STDMETHODIMP OleControl::SetExtent(DWORD aspect, SIZEL* size) {
    return com::boundary(IID_IOleObject, [&] {
        if (aspect != DVASPECT_CONTENT) com::raise(DV_E_DVASPECT, L"The control only has a content aspect");
        if (!size) com::raise(E_POINTER);
        if (size->cx < 0 || size->cy < 0) com::raise(E_INVALIDARG, L"An extent cannot be negative");
        m_extent = *size;
    });
}

STDMETHODIMP OleControl::GetExtent(DWORD aspect, SIZEL* size) {
    return com::boundary(IID_IOleObject, [&] {
        if (!size) com::raise(E_POINTER);
        if (aspect != DVASPECT_CONTENT) com::raise(DV_E_DVASPECT, L"The control only has a content aspect");
        *size = m_extent;
    });
}

STDMETHODIMP OleControl::Advise(IAdviseSink* sink, DWORD* cookie) {
    return com::boundary(IID_IOleObject, [&] {
        if (!cookie) com::raise(E_POINTER);
        *cookie = 0;
        if (!m_pOleAdviseHolder) com::check(CreateOleAdviseHolder(m_pOleAdviseHolder.put()));
        com::check(m_pOleAdviseHolder->Advise(sink, cookie));
    });
}

STDMETHODIMP OleControl::Unadvise(DWORD cookie) {
    if (!m_pOleAdviseHolder) return OLE_E_NOCONNECTION;
    return m_pOleAdviseHolder->Unadvise(cookie);
}

STDMETHODIMP OleControl::EnumAdvise(IEnumSTATDATA** advise) {
    if (!advise) return E_POINTER;
    *advise = nullptr;
    if (!m_pOleAdviseHolder) return S_OK;
    return m_pOleAdviseHolder->EnumAdvise(advise);
}

STDMETHODIMP OleControl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = MiscStatus;
    return S_OK;
}

STDMETHODIMP OleControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

}  // namespace kelpy
