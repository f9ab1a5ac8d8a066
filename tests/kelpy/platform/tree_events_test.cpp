// The tree's events, from the tree window's real messages.
#include <gtest/gtest.h>
#include "tree_reader.h"
#include "win/message_pump.h"
#include "kelpy/platform/tree_host.h"

using namespace test;
using host::item_rect;
using host::selected_item;
using kelpy::platform::NodePtr;
using kelpy::platform::Relationship;

namespace {

using Events = std::vector<std::string>;

class TreeEvents : public ::testing::Test {
protected:
    TreeHost host;
    NodePtr parent, child;
    void SetUp() override {
        parent = host.nodes().Add({.key = L"p", .text = L"Parent", .image = L"a", .look = {.expanded = true}});
        child = host.nodes().Add({.relative = L"p", .relationship = Relationship::Child, .text = L"Child"});
        win::DoEvents();
        host.events.clear();
    }
    LRESULT send(UINT msg, WPARAM wp, int x, int y) { return SendMessageW(host.window(), msg, wp, MAKELPARAM(x, y)); }
    POINT label_of(const NodePtr& node) {
        RECT r = item_rect(host.window(), node->handle(), true);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

TEST_F(TreeEvents, MouseMessagesRaiseEventsWithButtonsShiftAndPixels) {
    send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, 10, 20);
    send(WM_MOUSEMOVE, MK_CONTROL, 0, 0);
    send(WM_MBUTTONDOWN, MK_MBUTTON, 250, 390);
    send(WM_MBUTTONUP, 0, 250, 390);
    send(WM_MOUSEMOVE, 0, -3, 0xFFFF);  // signed 16-bit values, as a captured mouse reports them
    EXPECT_EQ(host.events,
              (Events{"move 3 1 10 20", "move 0 2 0 0", "down 4 0 250 390", "up 4 0 250 390", "move 0 0 -3 -1"}));
}

// A key the listener takes never reaches the native tree; another one does. The loss of the
// mouse capture is told.
TEST_F(TreeEvents, KeysGoToTheListenerFirstAndTheLossOfTheCaptureIsTold) {
    parent->Selected(true);
    host.taken_key = VK_DOWN;
    SendMessageW(host.window(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(selected_item(host.window()), parent->handle());
    SendMessageW(host.window(), WM_SYSKEYDOWN, VK_END, 1L << 29);
    host.taken_key = 0;
    SendMessageW(host.window(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(selected_item(host.window()), child->handle());
    SetCapture(host.window());
    ReleaseCapture();
    EXPECT_EQ(host.events, (Events{"key 40", "syskey 35", "key 40", "capture lost"}));
}

TEST_F(TreeEvents, ALeftClickOnAnItemRaisesDownAndUpAndSelectsIt) {
    POINT p = label_of(child);
    send(WM_LBUTTONDOWN, MK_LBUTTON, p.x, p.y);
    send(WM_LBUTTONUP, 0, p.x, p.y);
    win::DoEvents();
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[0].rfind("down 1 0 ", 0), 0u);
    EXPECT_EQ(host.events[1].rfind("up 1 0 ", 0), 0u);
    EXPECT_EQ(selected_item(host.window()), child->handle());
    // The items know the selection that the user made, and its moves by the keyboard.
    EXPECT_TRUE(child->Selected());
    SendMessageW(host.window(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(selected_item(host.window()), parent->handle());
    EXPECT_TRUE(parent->Selected());
    EXPECT_FALSE(child->Selected());
}

TEST_F(TreeEvents, AReleaseTakenByTheNativeMouseTrackingIsDeliveredAfterThePress) {
    // The native tree waits for the release of the right button in a loop of its own; the
    // release is already queued, as if the user had clicked quickly.
    POINT p = label_of(child);
    PostMessageW(host.window(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    send(WM_RBUTTONDOWN, MK_RBUTTON, p.x, p.y);
    ASSERT_FALSE(host.events.empty());
    EXPECT_EQ(host.events.front().rfind("down 2 0 ", 0), 0u);
    win::DoEvents();
    const std::string up = "up 2 0 " + std::to_string(p.x) + " " + std::to_string(p.y);
    EXPECT_EQ(host.events.back(), up);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), up), 1);
}

TEST_F(TreeEvents, ExpandingAndCollapsingByTheUserRaiseTheEvents) {
    parent->Selected(true);
    host.events.clear();
    SendMessageW(host.window(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_FALSE(parent->Expanded());
    SendMessageW(host.window(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(parent->Expanded());
    EXPECT_EQ(host.events, (Events{"key 37", "collapse Parent", "key 39", "expand Parent"}));
}

}  // namespace
