#include "kelpy/control/container_fixture.h"
#include <gtest/gtest.h>
#include <commctrl.h>

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

bool answers_custom_draw(HWND control_window) {
    HWND tree = GetWindow(control_window, GW_CHILD);
    win::DibCanvas canvas(10, 10);
    NMTVCUSTOMDRAW cd{};
    cd.nmcd.hdr.hwndFrom = tree;
    cd.nmcd.hdr.idFrom = UINT_PTR(GetDlgCtrlID(tree));
    cd.nmcd.hdr.code = UINT(NM_CUSTOMDRAW);
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    cd.nmcd.hdc = canvas.dc();
    return SendMessageW(control_window, WM_NOTIFY, cd.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&cd)) ==
           CDRF_NOTIFYITEMDRAW;
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

}  // namespace test
