// CtrlWndProc's answers to the tree's custom-draw notifications, sent as the tree sends them.
#include "kelpy/common/canvas.h"
#include "kelpy/draw/draw_fixture.h"
#include <commctrl.h>

using namespace test;

namespace {

class CustomDraw : public Drawing {
protected:
    Canvas canvas{300, 100};

    void SetUp() override {
        show({rendered_feature_layer(L"Lakes", GeometryPolygon, simple_renderer(solid_fill(RGB(0, 0, 255)))),
              rendered_feature_layer(L"Roads", GeometryPolyline,
                                     unique_value_renderer(L"CLASS", {{L"M", L"Motorway", line_symbol(RGB(255, 0, 0))}})),
              group_layer(L"Base", {rendered_feature_layer(L"Rivers", GeometryPolyline, nullptr)})});
    }

    struct Answer {
        LONG_PTR result;
        bool handled;
    };
    // Offers a message to CtrlWndProc as a host does (result 0, handled False).
    Answer offer(UINT msg, LPARAM lp) {
        LONG_PTR window = reinterpret_cast<LONG_PTR>(host.window());
        LONG m = LONG(msg);
        LONG_PTR wp = 1, l = lp, result = 0;
        VARIANT_BOOL handled = VARIANT_FALSE;
        EXPECT_EQ(host.api()->CtrlWndProc(&window, &m, &wp, &l, &result, &handled), S_OK);
        return {result, handled != VARIANT_FALSE};
    }
    // A custom-draw notification of a stage, for an item, from a window.
    NMTVCUSTOMDRAW notification(DWORD stage, HTREEITEM item = nullptr, HWND from = nullptr) {
        NMTVCUSTOMDRAW cd{};
        cd.nmcd.hdr.hwndFrom = from ? from : host.tree();
        cd.nmcd.hdr.idFrom = 1;
        cd.nmcd.hdr.code = UINT(NM_CUSTOMDRAW);
        cd.nmcd.dwDrawStage = stage;
        cd.nmcd.hdc = canvas.dc();
        cd.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(item);
        return cd;
    }
    LONG_PTR answer(const NMTVCUSTOMDRAW& cd) {
        Answer a = offer(WM_NOTIFY, reinterpret_cast<LPARAM>(&cd));
        EXPECT_FALSE(a.handled);
        return a.result;
    }
    HTREEITEM handle(std::wstring_view text) { return item(text)->handle(); }
};

}  // namespace

TEST_F(CustomDraw, StartOfAPaintCycleAsksForItemNotifications) {
    EXPECT_EQ(answer(notification(CDDS_PREPAINT)), CDRF_NOTIFYITEMDRAW);
}

TEST_F(CustomDraw, RowsThatTheControlPaintsAreSkippedByTheTree) {
    EXPECT_EQ(answer(notification(CDDS_ITEMPREPAINT, nodes().Item(L"holder")->handle())), CDRF_SKIPDEFAULT);
    EXPECT_EQ(answer(notification(CDDS_ITEMPREPAINT, first_row(L"Lakes")->handle())), CDRF_SKIPDEFAULT);
    EXPECT_EQ(answer(notification(CDDS_ITEMPREPAINT, handle(L"Motorway"))), CDRF_SKIPDEFAULT);
    EXPECT_GT(canvas.ink(), 0);
}

TEST_F(CustomDraw, OtherRowsAndUnknownHandlesAreLeftToTheTree) {
    for (const wchar_t* text : {L"World", L"Lakes", L"Base", L"Rivers", L"CLASS"}) {
        SCOPED_TRACE(std::wstring(text));
        EXPECT_EQ(answer(notification(CDDS_ITEMPREPAINT, handle(text))), 0);
    }
    EXPECT_EQ(answer(notification(CDDS_ITEMPREPAINT, reinterpret_cast<HTREEITEM>(0x5a5a5a0))), 0);
    EXPECT_EQ(canvas.ink(), 0);
}

TEST_F(CustomDraw, OtherStagesPassUntouched) {
    for (DWORD stage : {DWORD(CDDS_POSTPAINT), DWORD(CDDS_PREERASE), DWORD(CDDS_ITEMPOSTPAINT), DWORD(CDDS_ITEMPREERASE)}) {
        SCOPED_TRACE(stage);
        EXPECT_EQ(answer(notification(stage, handle(L"Motorway"))), 0);
    }
    EXPECT_EQ(canvas.ink(), 0);
}

TEST_F(CustomDraw, NotificationsFromOtherWindowsOrOfOtherKindsAreIgnored) {
    HWND other = CreateWindowExW(0, WC_TREEVIEWW, L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(answer(notification(CDDS_PREPAINT, nullptr, other)), 0);
    EXPECT_EQ(answer(notification(CDDS_ITEMPREPAINT, handle(L"Motorway"), other)), 0);
    DestroyWindow(other);

    NMTVCUSTOMDRAW selection = notification(CDDS_PREPAINT);
    selection.nmcd.hdr.code = UINT(TVN_SELCHANGEDW);
    EXPECT_EQ(answer(selection), 0);

    Answer a = offer(WM_PAINT, 0);
    EXPECT_EQ(a.result, 0);
    EXPECT_FALSE(a.handled);
    EXPECT_EQ(canvas.ink(), 0);
}
