#include "kelpy/container/container_fixture.h"
#include <gtest/gtest.h>

namespace test {

com::ComPtr<kelpy::Toc> new_control() {
    com::ComPtr<IUnknown> unknown;
    com::check(kelpy::Toc::create_for(IID_IUnknown, unknown.put_void()));
    auto* toc = dynamic_cast<kelpy::Toc*>(unknown.as<IOleObject>().get());
    if (!toc) com::raise(E_NOINTERFACE, L"not a TOC control");
    return com::ComPtr<kelpy::Toc>(toc);
}

host::HostOptions options(int width, int height, std::optional<bool> userMode, host::Persistence persistence) {
    host::HostOptions o;
    o.userMode = userMode;
    o.persistence = persistence;
    o.width = width;
    o.height = height;
    return o;
}

bool same_rect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool hooked_by(HWND window, HMODULE module) {
    const auto proc = ULONG_PTR(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (proc == GetClassLongPtrW(window, GCLP_WNDPROC)) return false;
    HMODULE owner = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(proc), &owner);
    return owner == module;
}

RECT rect_in_parent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT ink_box(const host::Pixels& p, DWORD background) {
    RECT box{p.width, p.height, 0, 0};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    if (box.right <= box.left) return RECT{};
    return box;
}

void* RecordingSink::query_more(REFIID riid) noexcept {
    return riid == DIID___TOC ? static_cast<IDispatch*>(this) : nullptr;
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
    // The arguments come last first.
    for (UINT i = params->cArgs; i-- > 0;) {
        VARIANTARG& arg = params->rgvarg[i];
        e.types.push_back(arg.vt);
        if (arg.vt == (VT_BOOL | VT_BYREF) && setCancel) *arg.pboolVal = VARIANT_TRUE;
        if (arg.vt == (VT_I4 | VT_BYREF)) e.contextMenuType = *arg.plVal;
        if (arg.vt == (VT_DISPATCH | VT_BYREF)) e.hadObject = *arg.ppdispVal != nullptr;
    }
    events.push_back(e);
    return S_OK;
}

EventConnection::EventConnection(IUnknown* control, IUnknown* sink) {
    auto container = com::ComPtr<IUnknown>(control).as<IConnectionPointContainer>();
    com::check(container->FindConnectionPoint(DIID___TOC, point_.put()));
    com::check(point_->Advise(sink, &cookie_));
}

EventConnection::~EventConnection() {
    if (point_) point_->Unadvise(cookie_);
}

}  // namespace test
