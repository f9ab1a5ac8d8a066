#include "control_site.h"
#include <olectl.h>

namespace host {

void* ControlSite::query_more(REFIID riid) noexcept {
    if (riid == IID_IOleWindow) return static_cast<IOleInPlaceSite*>(this);
    return nullptr;
}

STDMETHODIMP ControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ControlSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
}

STDMETHODIMP ControlSite::OnInPlaceActivate() {
    inPlaceActive_ = true;
    return S_OK;
}

STDMETHODIMP ControlSite::OnUIActivate() {
    uiActive_ = true;
    return S_OK;
}

// The host has no frame or document window of its own to offer: no menus, no tool bars.
STDMETHODIMP ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos,
                                           LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !document || !pos || !clip) return E_POINTER;
    *frame = nullptr;
    *document = nullptr;
    *pos = position_;
    *clip = position_;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(window_, GA_ROOT);  // the application's own window
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP ControlSite::OnUIDeactivate(BOOL) {
    uiActive_ = false;
    return S_OK;
}

STDMETHODIMP ControlSite::OnInPlaceDeactivate() {
    inPlaceActive_ = false;
    return S_OK;
}

STDMETHODIMP ControlSite::OnPosRectChange(LPCRECT pos) {
    if (!pos) return E_POINTER;
    position_ = *pos;
    return S_OK;
}

STDMETHODIMP ControlSite::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ControlSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

STDMETHODIMP ControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                 UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (id == DISPID_AMBIENT_USERMODE && userMode_) {
        if (!result) return E_POINTER;
        VariantInit(result);
        result->vt = VT_BOOL;
        result->boolVal = *userMode_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace host
