// IViewObject2: the control draws its picture into any device context a container gives it
// (printing, snapshots, a designer that is not in-place active). The picture is what the
// window shows (the control paints it: OlePaintPicture), made at the window's size and
// stretched onto the target.
#include "com/boundary.h"
#include "kelpy/control/ole_control.h"
#include "win/handles.h"

namespace kelpy {

namespace {
constexpr LONG himetric_per_inch = 2540;
}  // namespace

STDMETHODIMP OleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                       BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    return com::boundary(IID_IViewObject2, [&] {
        if (aspect != DVASPECT_CONTENT) com::raise(DV_E_DVASPECT, L"The control only has a content aspect");
        if (!dc || !bounds) com::raise(E_INVALIDARG, L"Draw needs a device context and bounds");
        const RECT target{bounds->left, bounds->top, bounds->right, bounds->bottom};
        // The picture is made at the window's size (or the target's, without a window) and
        // then stretched onto the target.
        RECT picture{0, 0, target.right - target.left, target.bottom - target.top};
        if (HWND window = OleWindow()) GetClientRect(window, &picture);
        if (picture.right <= 0 || picture.bottom <= 0) return;

        win::MemoryDC memory(CreateCompatibleDC(dc));
        win::Bitmap bitmap(CreateCompatibleBitmap(dc, picture.right, picture.bottom));
        if (!memory.get() || !bitmap.get()) com::raise(E_OUTOFMEMORY, L"Could not make the control's picture");
        win::Selection selected(memory.get(), bitmap.get());
        FillRect(memory.get(), &picture, GetSysColorBrush(COLOR_WINDOW));
        OlePaintPicture(memory.get(), picture);
        if (!StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                        memory.get(), 0, 0, picture.right, picture.bottom, SRCCOPY))
            com::raise(E_FAIL, L"Could not copy the control's picture");
    });
}

STDMETHODIMP OleControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
    if (colors) *colors = nullptr;
    return S_FALSE;  // any colours
}

STDMETHODIMP OleControl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
    if (freeze) *freeze = 0;
    return E_NOTIMPL;
}

STDMETHODIMP OleControl::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP OleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    m_pViewAdviseSink = sink;
    m_viewAdviseAspects = aspects;
    m_viewAdviseFlags = flags;
    return S_OK;
}

STDMETHODIMP OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = m_viewAdviseAspects;
    if (flags) *flags = m_viewAdviseFlags;
    if (sink) *sink = com::ComPtr<IAdviseSink>(m_pViewAdviseSink).detach();
    return S_OK;
}

// The size of the picture: the window's, in HIMETRIC, when the control has one; else the
// extent the container last gave.
STDMETHODIMP OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return com::boundary(IID_IViewObject2, [&] {
        if (!size) com::raise(E_POINTER);
        if (aspect != DVASPECT_CONTENT) com::raise(DV_E_DVASPECT, L"The control only has a content aspect");
        *size = m_extent;
        HWND window = OleWindow();
        if (!window) return;
        RECT client{};
        GetClientRect(window, &client);
        const win::WindowDC screen = win::WindowDC::try_get(nullptr);
        const int dpi_x = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
        const int dpi_y = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
        size->cx = MulDiv(client.right, himetric_per_inch, dpi_x);
        size->cy = MulDiv(client.bottom, himetric_per_inch, dpi_y);
    });
}

void OleControl::NotifyViewChanged() noexcept {
    if (m_pViewAdviseSink && (m_viewAdviseAspects & DVASPECT_CONTENT))
        m_pViewAdviseSink->OnViewChange(DVASPECT_CONTENT, -1);
}

}  // namespace kelpy
