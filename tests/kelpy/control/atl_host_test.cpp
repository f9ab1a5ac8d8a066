// The control in a container that no one here wrote: the ATL control host window of Wine's
// atl.dll, created with the ProgID KELPY.TOC (kelpy.dll registered in the prefix first).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "common/registration.h"
#include "kelpy/control/container_fixture.h"

namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

template <class F>
F entry(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

constexpr LONG_PTR added_styles = TVS_LINESATROOT | TVS_NONEVENHEIGHT;

struct AtlHost : ::testing::Test {
    HMODULE kelpy = test::register_library(L"kelpy.dll");
    HMODULE atl = LoadLibraryW(L"atl.dll");
    HWND parent = nullptr;
    HWND host = nullptr;

    void SetUp() override {
        ASSERT_NE(kelpy, nullptr);
        ASSERT_NE(atl, nullptr);
        // The host window's class is registered once per process (a second registration fails).
        static const bool initialized = [&] {
            auto init = entry<AtlAxWinInitFn>(atl, "AtlAxWinInit");
            return init && init();
        }();
        ASSERT_TRUE(initialized);
        parent = CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400,
                                 500, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        host = CreateWindowExW(0, L"AtlAxWin", L"KELPY.TOC", WS_CHILD | WS_VISIBLE, 10, 10, 260, 300, parent, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(host, nullptr);
    }
    void TearDown() override {
        if (parent) DestroyWindow(parent);
    }
    HWND control() const { return FindWindowExW(host, nullptr, L"KelpyTocControl", nullptr); }
    com::ComPtr<IUnknown> object() const {
        com::ComPtr<IUnknown> unknown;
        auto get = entry<AtlAxGetControlFn>(atl, "AtlAxGetControl");
        if (get) get(host, unknown.put());
        return unknown;
    }
};

TEST_F(AtlHost, RunTimeTreeRoutedStyledAndFillingTheControl) {
    HWND window = control();
    ASSERT_NE(window, nullptr);
    HWND tree = GetWindow(window, GW_CHILD);
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(IsWindowVisible(tree));
    EXPECT_TRUE(test::hooked_by(tree, kelpy));
    EXPECT_TRUE(test::answers_custom_draw(window));
    EXPECT_EQ(GetWindowLongPtrW(tree, GWL_STYLE) & added_styles, added_styles);

    RECT client{};
    GetClientRect(host, &client);
    RECT r = test::rect_in_parent(window);
    EXPECT_TRUE(EqualRect(&r, &client));
    r = test::rect_in_parent(tree);
    EXPECT_TRUE(test::same_rect(r, RECT{0, 0, 260, 300}));

    // The host passes its new size on; the tree follows.
    MoveWindow(host, 0, 0, 180, 220, TRUE);
    r = test::rect_in_parent(tree);
    EXPECT_TRUE(test::same_rect(r, RECT{0, 0, 180, 220}));
}

TEST_F(AtlHost, EventSinkConnectsThroughTheConnectionPoint) {
    auto unknown = object();
    ASSERT_TRUE(unknown);
    auto sink = test::RecordingSink::create();
    test::EventConnection connection(unknown.get(), sink.get());
    auto info = unknown.as<IProvideClassInfo2>();
    GUID events{};
    EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_EQ(events, DIID___TOC);
}

TEST_F(AtlHost, DestroyingTheHostFreesTheControl) {
    HWND window = control();
    ASSERT_NE(window, nullptr);
    HWND tree = GetWindow(window, GW_CHILD);
    ASSERT_TRUE(test::hooked_by(tree, kelpy));
    auto can_unload = entry<CanUnloadNowFn>(kelpy, "DllCanUnloadNow");
    ASSERT_TRUE(can_unload);
    EXPECT_EQ(can_unload(), S_FALSE);  // the control lives
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(can_unload(), S_OK);  // every object of kelpy.dll is gone
}

}  // namespace
