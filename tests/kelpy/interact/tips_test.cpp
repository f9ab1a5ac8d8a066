// The items' tips (ShowTips), seen as a person sees them: the mouse rests on an item and a tip
// window of the thread shows its text.
#include <optional>
#include "com/bstr.h"
#include "kelpy/interact/interact_fixture.h"

using namespace test;

namespace {

// The text of the tip that shows now, if one does.
BOOL CALLBACK visible_tip(HWND window, LPARAM out) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring_view(name) != TOOLTIPS_CLASSW || !IsWindowVisible(window)) return TRUE;
    wchar_t text[1024] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    SendMessageW(window, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool));
    *reinterpret_cast<std::optional<std::wstring>*>(out) = std::wstring(text);
    return FALSE;
}

std::optional<std::wstring> shown_tip() {
    std::optional<std::wstring> found;
    EnumThreadWindows(GetCurrentThreadId(), visible_tip, reinterpret_cast<LPARAM>(&found));
    return found;
}

class Tips : public Interaction {
protected:
    // The mouse comes to rest on the item's label, for longer than a hover takes.
    std::optional<std::wstring> rest_on(std::wstring_view text) {
        const POINT p = at(text);
        host::move_mouse({p.x - 3, p.y});
        host::move_mouse(p);
        host::pump_messages(1000);
        return shown_tip();
    }
};

TEST_F(Tips, OnlyALabelTheWindowCutsOffShowsWholeWithItsLayersKind) {
    const std::wstring long_name = L"Towns and villages of the northern provinces";
    com::check(layer(L"Towns")->put_Name(com::Bstr(long_name).get()));
    ASSERT_EQ(toc->Reset(), S_OK);
    EXPECT_EQ(rest_on(long_name), std::nullopt);  // tips are off

    ASSERT_EQ(toc.as<_TOC2>()->put_ShowTips(VARIANT_TRUE), S_OK);
    EXPECT_EQ(rest_on(long_name), long_name + L" \u2014 Feature layer");
    EXPECT_EQ(rest_on(L"Roads"), std::nullopt);  // a label that shows whole
    EXPECT_EQ(rest_on(long_name), long_name + L" \u2014 Feature layer");
}

}  // namespace
