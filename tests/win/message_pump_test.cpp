#include <gtest/gtest.h>
#include <windows.h>
#include "win/message_pump.h"

TEST(MessagePump, DoEventsRunsPendingMessagesAndLeavesAQuitRequest) {
    // A posted WM_CLOSE destroys its window only when someone pumps.
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    PostQuitMessage(3);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(win::DoEvents());  // stopped at the quit request
    EXPECT_FALSE(IsWindow(window));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_TRUE(win::DoEvents());
}
