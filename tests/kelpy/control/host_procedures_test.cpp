// _TOC.TreeWndProc and CtrlWndProc as a host calls them with the messages of the control's
// windows: what the control acts on is handled as the windows' own messages are, the rest passes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include "kelpy/common/event_sink.h"
#include "kelpy/common/hosted_control.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/platform/item_rect.h"

using namespace test;

namespace {

struct Offered {
    LRESULT result = 0;
    VARIANT_BOOL handled = VARIANT_FALSE;
};

class HostProcedures : public ::testing::Test {
protected:
    HostedControl host;
    com::ComPtr<RecordingSink> sink = RecordingSink::make();
    std::unique_ptr<EventConnection> connection;
    com::ComPtr<ILayer> towns = feature_layer(L"Towns");

    void SetUp() override {
        ASSERT_EQ(host.initialize(make_map(L"M", {towns}).get()), S_OK);
        connection = std::make_unique<EventConnection>(host.api(), sink->unknown());
    }
    Offered offer(UINT msg, WPARAM wp, LPARAM lp) {
        Offered o;
        LONG_PTR window = reinterpret_cast<LONG_PTR>(host.tree()), w = LONG_PTR(wp), l = lp;
        LONG m = LONG(msg);
        EXPECT_EQ(host.api()->TreeWndProc(&window, &m, &w, &l, &o.result, &o.handled), S_OK);
        return o;
    }
    LPARAM on_label(int index) {
        const RECT r = *kelpy::platform::ItemRect(host.tree(), host.toc().tree().Nodes().Item(index)->handle(),
                                                   kelpy::platform::ItemPart::Label);
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    bool visible() {
        VARIANT_BOOL v = VARIANT_FALSE;
        EXPECT_EQ(towns->get_Visible(&v), S_OK);
        return v != VARIANT_FALSE;
    }
};

TEST_F(HostProcedures, TreeWndProcActsOnReleasesKeysAndScreenReadersAndPassesTheRest) {
    // A right release on the layer's item: reported once, and the tree still gets it.
    Offered o = offer(WM_RBUTTONUP, 0, on_label(2));
    EXPECT_EQ(o.handled, VARIANT_FALSE);
    ASSERT_EQ(sink->count(OnContextMenu), 1u);
    EXPECT_EQ(sink->events[0].contextMenuType, LONG(::TOCNodeType::Layer));

    // Space on the selected layer toggles it, and the tree does not see the key.
    host.toc().tree().Nodes().Item(2)->Selected(true);
    o = offer(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(o.handled, VARIANT_TRUE);
    EXPECT_FALSE(visible());

    // A screen reader's request for the tree's client object is answered with it.
    o = offer(WM_GETOBJECT, 0, LPARAM(OBJID_CLIENT));
    EXPECT_EQ(o.handled, VARIANT_TRUE);
    com::ComPtr<IAccessible> object;
    ASSERT_EQ(ObjectFromLresult(o.result, __uuidof(IAccessible), 0, object.put_void()), S_OK);
    EXPECT_TRUE(object);

    // What the control does not act on passes untouched.
    for (UINT msg : {UINT(WM_PAINT), UINT(WM_MOUSEMOVE), UINT(WM_MBUTTONUP)}) {
        o = offer(msg, 0, on_label(2));
        EXPECT_EQ(o.handled, VARIANT_FALSE);
        EXPECT_EQ(o.result, 0);
    }
    EXPECT_EQ(sink->count(OnContextMenu), 1u);
    EXPECT_FALSE(visible());
}

}  // namespace
