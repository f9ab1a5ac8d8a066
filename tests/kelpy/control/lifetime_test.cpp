// The control's lifetime: its window, the handling of its windows' input, its subscription and
// its items.
#include <gtest/gtest.h>
#include "kelpy/common/hosted_control.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"
#include "kelpy/model/items.h"

using namespace test;
using host::has_visible_style;
using kelpy::NodePtr;

namespace {

TEST(Lifetime, StartingListensAddsTheTreeStylesAndMakesTheMemoryOnce) {
    HostedControl host({.start = false});
    const LONG_PTR tree_proc = GetWindowLongPtrW(host.tree(), GWLP_WNDPROC);
    EXPECT_FALSE(has_visible_style(host.tree()));
    EXPECT_FALSE(host.toc().Listening());
    EXPECT_FALSE(host.toc().builder().states().allocated());

    host.toc().StartRunTime();
    EXPECT_TRUE(has_visible_style(host.tree()));
    EXPECT_TRUE(host.toc().Listening());
    // The windows keep their one procedure each.
    EXPECT_EQ(GetWindowLongPtrW(host.tree(), GWLP_WNDPROC), tree_proc);
    EXPECT_EQ(GetWindowLongPtrW(host.window(), GWLP_WNDPROC), GetClassLongPtrW(host.window(), GCLP_WNDPROC));
    EXPECT_EQ(GetWindowLongPtrW(host.tree(), GWL_STYLE) & 0x4004, 0x4004);
    EXPECT_EQ(host.toc().builder().states().UBound(), 1);

    // Once: a second start changes nothing.
    host.toc().builder().states().Set(0, L"kept", false);
    host.toc().StartRunTime();
    EXPECT_EQ(host.toc().builder().states()[0].Text, L"kept");
    host.toc().Terminate();
    EXPECT_FALSE(host.toc().Listening());
}

TEST(Lifetime, ADestroyedControlStopsListeningAndIsFreed) {
    const long objects = live_objects();
    const long map_objects = live_map_objects();
    {
        HostedControl host;
        auto map = make_map(L"M", {feature_layer(L"A")});
        ASSERT_EQ(host.initialize(map.get()), S_OK);
        HWND window = host.window();
        DestroyWindow(window);
        EXPECT_FALSE(host.toc().Listening());
        EXPECT_EQ(host.toc().hWnd(), nullptr);
        // Without its window the control reports a clear error.
        EXPECT_EQ(host.reset(), E_UNEXPECTED);
        host.release();
        // The map outlives the control; its notifications reach no one.
        EXPECT_EQ(map->AddLayer(feature_layer(L"B").get()), S_OK);
    }
    EXPECT_EQ(live_objects(), objects);
    EXPECT_EQ(live_map_objects(), map_objects);
}

TEST(Lifetime, AReleasedControlTakesItsWindowWithIt) {
    const long objects = live_objects();
    HWND window = nullptr;
    {
        HostedControl host;
        ASSERT_EQ(host.initialize(make_map(L"M", {feature_layer(L"A")}).get()), S_OK);
        window = host.window();
        host.release();
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(live_objects(), objects);
}

TEST(Lifetime, ItemsOfAnEarlierTreeFailCleanly) {
    HostedControl host;
    ASSERT_EQ(host.initialize(make_map(L"M", {feature_layer(L"A")}).get()), S_OK);
    NodePtr old = host.toc().tree().Nodes().Item(2);
    ASSERT_EQ(host.reset(), S_OK);
    EXPECT_TRUE(old->removed());
    auto fails = [](auto&& use) {
        try {
            use();
        } catch (const com::ComError& e) {
            return e.hr() == kelpy::platform::E_NODE_REMOVED;
        }
        return false;
    };
    EXPECT_TRUE(fails([&] { (void)old->Text(); }));
    EXPECT_TRUE(fails([&] { (void)old->Tag(); }));
    EXPECT_TRUE(fails([&] { (void)old->Index(); }));
    EXPECT_TRUE(fails([&] { old->Expanded(true); }));
    EXPECT_TRUE(fails([&] { old->Selected(true); }));
    EXPECT_TRUE(fails([&] { old->Image(L"checked"); }));
    EXPECT_TRUE(fails([&] { (void)old->Parent(); }));
    EXPECT_TRUE(fails([&] { kelpy::GetNodeHandle(host.toc().tree(), old); }));
    // The item is still the object it was: a record can still hold it.
    EXPECT_EQ(kelpy::platform::Node::From(old->unknown()), old);
}

}  // namespace
