// ControlSite: the container's side of one embedded control, as a form of a host application
// offers it: the client site, the in-place site in the host's window, and the ambient
// properties (IDispatch on the site). The ambient UserMode is True, False, or not offered at
// all, as the host chooses.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <optional>
#include "com/object.h"

namespace host {

class ControlSite final
    : public com::ComObject<ControlSite, IDispatch, IOleClientSite, IOleInPlaceSite> {
public:
    ControlSite(HWND window, std::optional<bool> userMode) noexcept : window_(window), userMode_(userMode) {}

    void* query_more(REFIID riid) noexcept;
    bool inPlaceActive() const noexcept { return inPlaceActive_; }
    bool uiActive() const noexcept { return uiActive_; }
    // The rectangle (in the host window's client pixels) given to the control on activation.
    void position(const RECT& r) noexcept { position_ = r; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;

    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

private:
    HWND window_;
    std::optional<bool> userMode_;
    RECT position_{};
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
};

}  // namespace host
