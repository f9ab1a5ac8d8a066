// IViewObject2: the control draws its picture into any device context a container gives it
// (printing, snapshots, a designer that is not in-place active). The picture is what the
// window shows: the tree, printed through WM_PRINT (legend rows through the same custom draw
// as on screen), or at design time the caption.
#include "com/boundary.h"
#include "kelpy/control/toc.h"
#include "win/handles.h"

namespace kelpy {

namespace {
constexpr LONG himetric_per_inch = 2540;
}  // namespace

STDMETHODIMP Toc::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                       BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    return com::boundary(IID_IViewObject2, [&] {
        if (aspect != DVASPECT_CONTENT) com::raise(DV_E_DVASPECT, L"The control only has a content aspect");
        if (!dc || !bounds) com::raise(E_INVALIDARG, L"Draw needs a device context and bounds");
        const RECT target{bounds->left, bounds->top, bounds->right, bounds->bottom};
        // The picture is made at the window's size (or the target's, without a window) and
        // then stretched onto the target.
        RECT picture{0, 0, target.right - target.left, target.bottom - target.top};
        if (m_hWnd) GetClientRect(m_hWnd, &picture);
        if (picture.right <= 0 || picture.bottom <= 0) return;

        win::MemoryDC memory(CreateCompatibleDC(dc));
        win::Bitmap bitmap(CreateCompatibleBitmap(dc, picture.right, picture.bottom));
        if (!memory.get() || !bitmap.get()) com::raise(E_OUTOFMEMORY, L"Could not make the control's picture");
        win::Selection selected(memory.get(), bitmap.get());
        FillRect(memory.get(), &picture, GetSysColorBrush(COLOR_WINDOW));
        HWND tree = tvwTOC.hWnd();
        if (m_bDesignMode) {
            PaintCaption(memory.get(), picture);
        } else if (tree && IsWindowVisible(tree)) {
            SendMessageW(tree, WM_PRINT, reinterpret_cast<WPARAM>(memory.get()),
                         PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        }
        if (!StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                        memory.get(), 0, 0, picture.right, picture.bottom, SRCCOPY))
            com::raise(E_FAIL, L"Could not copy the control's picture");
    });
}

STDMETHODIMP Toc::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
    if (colors) *colors = nullptr;
    return S_FALSE;  // any colours
}

STDMETHODIMP Toc::Freeze(DWORD, LONG, void*, DWORD* freeze) {
    if (freeze) *freeze = 0;
    return E_NOTIMPL;
}

STDMETHODIMP Toc::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP Toc::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    m_pViewAdviseSink = sink;
    m_viewAdviseAspects = aspects;
    m_viewAdviseFlags = flags;
    return S_OK;
}

STDMETHODIMP Toc::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = m_viewAdviseAspects;
    if (flags) *flags = m_viewAdviseFlags;
    if (sink) *sink = com::ComPtr<IAdviseSink>(m_pViewAdviseSink).detach();
    return S_OK;
}

// The size of the picture: the window's, in HIMETRIC, when the control has one; else the
// extent the container last gave.
STDMETHODIMP Toc::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return com::boundary(IID_IViewObject2, [&] {
        if (!size) com::raise(E_POINTER);
        if (aspect != DVASPECT_CONTENT) com::raise(DV_E_DVASPECT, L"The control only has a content aspect");
        *size = m_extent;
        if (!m_hWnd) return;
        RECT client{};
        GetClientRect(m_hWnd, &client);
        const win::WindowDC screen = win::WindowDC::try_get(nullptr);
        const int dpi_x = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
        const int dpi_y = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
        size->cx = MulDiv(client.right, himetric_per_inch, dpi_x);
        size->cy = MulDiv(client.bottom, himetric_per_inch, dpi_y);
    });
}

void Toc::NotifyViewChanged() noexcept {
    if (m_pViewAdviseSink && (m_viewAdviseAspects & DVASPECT_CONTENT))
        m_pViewAdviseSink->OnViewChange(DVASPECT_CONTENT, -1);
}

}  // namespace kelpy
