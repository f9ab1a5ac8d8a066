// In-place activation: the control's window lives inside its container's window, placed where
// the in-place site says. IOleInPlaceObject and IOleInPlaceActiveObject are the container's
// handles on the active control; IOleControl carries the ambient and event-freezing protocol.
#include "com/boundary.h"
#include "kelpy/control/ole_control.h"

namespace kelpy {

namespace {
RECT or_empty(LPCRECT r) { return r ? *r : RECT{}; }
}  // namespace

void OleControl::ActivateInPlace(IOleClientSite* site, bool uiActivate) {
    if (!m_bInPlaceActive) {
        if (!site) com::raise(E_UNEXPECTED, L"The control has no client site to activate in");
        auto inPlaceSite = com::ComPtr<IOleClientSite>(site).as<IOleInPlaceSite>();
        const HRESULT can = inPlaceSite->CanInPlaceActivate();
        com::check(can);
        if (can != S_OK) com::raise(E_FAIL, L"The container does not let the control activate in place");
        com::check(inPlaceSite->OnInPlaceActivate());
        m_pInPlaceSite = inPlaceSite;
        m_bInPlaceActive = true;
        try {
            HWND parent = nullptr;
            com::check(inPlaceSite->GetWindow(&parent));
            com::ComPtr<IOleInPlaceFrame> frame;
            com::ComPtr<IOleInPlaceUIWindow> document;
            RECT pos{}, clip{};
            OLEINPLACEFRAMEINFO frameInfo{};
            frameInfo.cb = sizeof frameInfo;
            com::check(inPlaceSite->GetWindowContext(frame.put(), document.put(), &pos, &clip, &frameInfo));
            if (HWND window = OleWindow()) {
                SetParent(window, parent);
                MoveWindow(window, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, TRUE);
            } else {
                OleCreateWindow(parent, pos);
            }
            ShowWindow(OleWindow(), SW_SHOWNA);
        } catch (...) {
            DeactivateInPlace();
            throw;
        }
        // The start-up of this window (the first, or a new one after a deactivation). It stops
        // at a failing step and reports it, but the control stays active: a map whose rebuild
        // fails leaves the tree hidden, as Initialize does.
        if (m_bLoaded) UserControl_ReadProperties();
    }
    if (uiActivate && !m_bUIActive) {
        m_bUIActive = true;
        m_pInPlaceSite->OnUIActivate();
        ShowActiveObject(static_cast<IOleInPlaceActiveObject*>(this));
    }
}

void OleControl::ShowActiveObject(IOleInPlaceActiveObject* active) {
    com::ComPtr<IOleInPlaceFrame> frame;
    com::ComPtr<IOleInPlaceUIWindow> document;
    RECT pos{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{.cb = sizeof frameInfo};
    if (FAILED(m_pInPlaceSite->GetWindowContext(frame.put(), document.put(), &pos, &clip, &frameInfo))) return;
    if (frame) frame->SetActiveObject(active, nullptr);
    if (document) document->SetActiveObject(active, nullptr);
}

void OleControl::DeactivateInPlace() {
    if (!m_bInPlaceActive) return;
    UIDeactivate();
    com::ComPtr<IOleInPlaceSite> site = std::move(m_pInPlaceSite);
    m_bInPlaceActive = false;
    OleDestroyWindow();
    if (site) site->OnInPlaceDeactivate();
}

// ---- IOleWindow

STDMETHODIMP OleControl::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = OleWindow();
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP OleControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// ---- IOleInPlaceObject

STDMETHODIMP OleControl::InPlaceDeactivate() {
    return com::boundary(IID_IOleInPlaceObject, [&] { DeactivateInPlace(); });
}

STDMETHODIMP OleControl::UIDeactivate() {
    return com::boundary(IID_IOleInPlaceObject, [&] {
        if (!m_bUIActive) return;
        m_bUIActive = false;
        if (!m_pInPlaceSite) return;
        ShowActiveObject(nullptr);
        m_pInPlaceSite->OnUIDeactivate(FALSE);
    });
}

// The container moved or sized the control: the window follows, and the tree with it.
STDMETHODIMP OleControl::SetObjectRects(LPCRECT pos, LPCRECT) {
    return com::boundary(IID_IOleInPlaceObject, [&] {
        if (!pos) com::raise(E_POINTER);
        const RECT r = or_empty(pos);
        if (r.right < r.left || r.bottom < r.top) com::raise(E_INVALIDARG, L"The control's rectangle is inverted");
        if (HWND window = OleWindow()) MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    });
}

STDMETHODIMP OleControl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

// ---- IOleInPlaceActiveObject: the control has no accelerators, menus or tool bars.

STDMETHODIMP OleControl::TranslateAccelerator(LPMSG) { return S_FALSE; }
STDMETHODIMP OleControl::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP OleControl::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP OleControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP OleControl::EnableModeless(BOOL) { return S_OK; }

// ---- IOleControl

STDMETHODIMP OleControl::GetControlInfo(CONTROLINFO* info) {
    return com::boundary(IID_IOleControl, [&] {
        if (!info) com::raise(E_POINTER);
        if (info->cb < sizeof(CONTROLINFO)) com::raise(E_INVALIDARG, L"CONTROLINFO is too small");
        info->hAccel = nullptr;
        info->cAccel = 0;
        info->dwFlags = 0;
    });
}

STDMETHODIMP OleControl::OnMnemonic(MSG*) { return E_NOTIMPL; }

// The control reads its ambient properties once, at start-up; a later change (for example of
// the user mode) does not switch between run time and design time. It only repaints.
STDMETHODIMP OleControl::OnAmbientPropertyChange(DISPID) {
    if (HWND window = OleWindow()) InvalidateRect(window, nullptr, TRUE);
    return S_OK;
}

STDMETHODIMP OleControl::FreezeEvents(BOOL freeze) {
    if (freeze) ++m_frozenEvents;
    else if (m_frozenEvents > 0) --m_frozenEvents;
    return S_OK;
}

}  // namespace kelpy
