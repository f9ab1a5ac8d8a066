// Dragging layers: the press that arms a drag, the event that starts it, the drop target, insert
// mark and cursor that follow the mouse, the scrolling above and below the tree, and the drops
// at the top level and into and out of the group layer. After every drag the map holds every
// layer exactly once and nothing of the drag is left (capture, timer, pointer, mark).
#include "kelpy/interact/interact_fixture.h"
#include <functional>
#include "com/bstr.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/model/resource_ids.h"
#include "kelpy/platform/mouse_pointer.h"

using namespace test;
using host::Button;

namespace {

class Dragging : public Interaction {
protected:
    // A left press on the layer's label and a first move with the button held: the drag starts.
    void start(std::wstring_view layer) {
        POINT p = at(layer);
        host::move_mouse(p);
        host::press(Button::Left);
        host::move_mouse({p.x + 1, p.y});
    }
    void over(std::wstring_view text, UINT flags = TVHT_ONITEMLABEL) { host::move_mouse(at(text, flags)); }
    void drop_on(std::wstring_view text) {
        over(text);
        host::release(Button::Left);
    }
    void drag(std::wstring_view layer, std::wstring_view target) {
        start(layer);
        drop_on(target);
    }
    static HCURSOR cursor(int id) { return LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)); }
    HTREEITEM handle(std::wstring_view text) { return item(text)->handle(); }
};

// A call that runs when the thread's pending messages run next (a posted message).
class PostedCall {
public:
    explicit PostedCall(std::function<void()> call) : call_(std::move(call)) {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PostedCall::proc));
    }
    ~PostedCall() { DestroyWindow(window_); }
    PostedCall(const PostedCall&) = delete;
    PostedCall& operator=(const PostedCall&) = delete;
    void post() { PostMessageW(window_, WM_APP, 0, 0); }

private:
    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_APP) {
            reinterpret_cast<PostedCall*>(GetWindowLongPtrW(w, GWLP_USERDATA))->call_();
            return 0;
        }
        return DefWindowProcW(w, msg, wp, lp);
    }
    std::function<void()> call_;
    HWND window_ = nullptr;
};

TEST_F(Dragging, OnlyALeftPressOnALayerLabelArmsADrag) {
    // A press on the check image, a right click, a press on a legend row: no drag.
    host::move_mouse(at(L"Roads", TVHT_ONITEMICON));
    host::press(Button::Left);
    over(L"Roads");
    host::release(Button::Left);
    host::click(at(L"Roads"), Button::Right);
    over(L"Roads");
    over(L"Minor");
    host::press(Button::Left);
    over(L"Roads");
    host::release(Button::Left);
    EXPECT_EQ(sink->count(OnDragLayer), 0u);

    // The label: the first move raises OnDragLayer with the layer, and the drag runs.
    start(L"Roads");
    ASSERT_EQ(sink->count(OnDragLayer), 1u);
    EXPECT_TRUE(com::same_object(sink->events.back().object.get(), layer(L"Roads").get()));
    EXPECT_TRUE(toc->interaction().dragging());
    EXPECT_EQ(GetCapture(), tree());
    EXPECT_TRUE(toc->TimerRunning());
    host::release(Button::Left);  // over its own item: nothing to drop
    expect_sound();
    EXPECT_EQ(changes.reordered, 0);
}

TEST_F(Dragging, ACancelledDragStaysArmed) {
    sink->cancelEvents = {OnDragLayer};
    start(L"Towns");
    host::move_mouse({at(L"Towns").x + 2, at(L"Towns").y});
    EXPECT_EQ(sink->count(OnDragLayer), 2u);
    EXPECT_FALSE(toc->interaction().dragging());
    EXPECT_EQ(GetCapture(), nullptr);
    host::release(Button::Left);
}

TEST_F(Dragging, TheTargetMarkAndCursorFollowTheMouse) {
    start(L"Roads");
    const size_t marks = spy->of(TVM_SETINSERTMARK).size();
    over(L"Towns");  // the first target: the cursor shows none yet
    EXPECT_EQ(GetCursor(), cursor(KELPY_CURSOR_DRAG_BOTH));
    EXPECT_TRUE(com::same_object(toc->interaction().target_layer().get(), layer(L"Towns").get()));
    EXPECT_EQ(last_mark(*spy), LPARAM(handle(L"Towns")));

    over(L"Roads");  // its own item: no target, the mark stays; Towns lies above
    EXPECT_EQ(GetCursor(), cursor(KELPY_CURSOR_DRAG_UP));
    EXPECT_FALSE(toc->interaction().target_layer());
    EXPECT_EQ(spy->of(TVM_SETINSERTMARK).size(), marks + 1);

    over(L"Elevation");
    over(L"Elevation", TVHT_ONITEMICON);  // the same item again: the mark is not sent again
    EXPECT_EQ(GetCursor(), cursor(KELPY_CURSOR_DRAG_DOWN));
    EXPECT_EQ(spy->of(TVM_SETINSERTMARK).size(), marks + 2);
    EXPECT_EQ(last_mark(*spy), LPARAM(handle(L"Elevation")));

    over(L"Clay");  // a legend row: its layer, the mark before the layer's item
    EXPECT_TRUE(com::same_object(toc->interaction().target_layer().get(), layer(L"Soils").get()));
    EXPECT_EQ(last_mark(*spy), LPARAM(handle(L"Soils")));

    over(L"Sample");  // the root: the top layer, the mark before the root's first child
    EXPECT_TRUE(com::same_object(toc->interaction().target_layer().get(), layer(L"Towns").get()));
    EXPECT_EQ(last_mark(*spy), LPARAM(handle(L"Towns")));

    host::move_mouse(at(nodes().Item(L"holder"), TVHT_ONITEMRIGHT));  // the bottom layer, the mark before the holder
    EXPECT_TRUE(com::same_object(toc->interaction().target_layer().get(), layer(L"Photo").get()));
    EXPECT_EQ(last_mark(*spy), LPARAM(nodes().Item(L"holder")->handle()));

    over(L"Minor");  // a row of the dragged layer's own legend: the mark goes
    EXPECT_EQ(last_mark(*spy), 0);

    drop_on(L"Roads");
    expect_sound();
    EXPECT_EQ(changes.reordered + changes.added + changes.deleted, 0);
}

TEST_F(Dragging, TheTreeScrollsWhileTheCursorIsAboveOrBelowIt) {
    host->resize(280, 160);
    start(L"Soils");  // far down: the tree has scrolled to show it
    RECT frame{};
    GetWindowRect(tree(), &frame);
    auto scrolls = [&](UINT code) {
        size_t n = 0;
        for (const auto& s : spy->of(WM_VSCROLL)) n += s.wp == code;
        return n;
    };

    // Ticks come every 25 ms; a busy machine may deliver fewer in a while, so the test waits for
    // three (up to two seconds).
    auto wait_for_scrolls = [&](UINT code) {
        for (int i = 0; i < 40 && scrolls(code) < 3; ++i) host::pump_messages(50);
        return scrolls(code);
    };
    const int top = GetScrollPos(tree(), SB_VERT);
    host::move_mouse({(frame.left + frame.right) / 2, frame.top - 8});
    EXPECT_GE(wait_for_scrolls(SB_LINEUP), 3u);
    EXPECT_LT(GetScrollPos(tree(), SB_VERT), top);

    host::move_mouse({frame.left - 8, (frame.top + frame.bottom) / 2});  // beside it: nothing
    const size_t beside = spy->of(WM_VSCROLL).size();
    host::pump_messages(150);
    EXPECT_EQ(spy->of(WM_VSCROLL).size(), beside);

    host::move_mouse({(frame.left + frame.right) / 2, frame.bottom + 8});
    EXPECT_GE(wait_for_scrolls(SB_LINEDOWN), 3u);

    host::release(Button::Left);  // outside the tree: abandoned
    expect_sound();
}

TEST_F(Dragging, DropsAtTheTopLevelMoveTheLayerOnce) {
    drag(L"Photo", L"Roads");
    EXPECT_EQ(order(), L"Towns, Photo, Roads, Land use [Parks, Water], Population, Elevation, Soils, Slope");
    EXPECT_EQ(changes.reordered, 1);
    EXPECT_EQ(changes.added + changes.deleted, 0);
    EXPECT_EQ(selected_text(), L"Photo");
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
    expect_sound();

    drag(L"Towns", L"Clay");  // onto a legend row: the place of its layer
    EXPECT_EQ(order(), L"Photo, Roads, Land use [Parks, Water], Population, Elevation, Soils, Towns, Slope");
    expect_sound();
}

TEST_F(Dragging, DropsTakeLayersOutOfAndIntoGroups) {
    // Out of the group, at the target's place at the top level.
    drag(L"Parks", L"Elevation");
    EXPECT_EQ(order(), L"Towns, Roads, Land use [Water], Population, Elevation, Parks, Soils, Slope, Photo");
    EXPECT_EQ(selected_text(), L"Parks");
    expect_sound();

    // Into the group, from the map: at the group's end.
    drag(L"Towns", L"Water");
    EXPECT_EQ(order(), L"Roads, Land use [Water, Towns], Population, Elevation, Parks, Soils, Slope, Photo");
    EXPECT_EQ(selected_text(), L"Towns");
    expect_sound();

    // Within the group: taken from the group itself, not from the map.
    drag(L"Water", L"Towns");
    EXPECT_EQ(order(), L"Roads, Land use [Towns, Water], Population, Elevation, Parks, Soils, Slope, Photo");
    expect_sound();

    // A group onto its own member: nothing moves, the drop still counts and redraws.
    sink->events.clear();
    drag(L"Land use", L"Water");
    EXPECT_EQ(order(), L"Roads, Land use [Towns, Water], Population, Elevation, Parks, Soils, Slope, Photo");
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
    expect_sound();
}

TEST_F(Dragging, AReleaseOverAnotherWindowMovesNothing) {
    HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 600, 100, 200, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    start(L"Roads");
    over(L"Elevation");
    host::move_mouse({700, 200});
    EXPECT_EQ(last_mark(*spy), 0);  // the mark went when the cursor left the tree
    host::release(Button::Left);
    DestroyWindow(other);
    EXPECT_EQ(order(), L"Towns, Roads, Land use [Parks, Water], Population, Elevation, Soils, Slope, Photo");
    EXPECT_TRUE(refreshes.empty());
    expect_sound();
}

TEST_F(Dragging, ADragEndsWhenAnotherWindowTakesTheMouse) {
    const std::wstring before = order();
    HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 600, 100, 200, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    start(L"Roads");
    over(L"Elevation");
    SetCapture(other);  // a pop-up takes the mouse: the drag ends at once, with its clean-up
    EXPECT_FALSE(toc->interaction().dragging());
    EXPECT_FALSE(toc->TimerRunning());
    EXPECT_EQ(kelpy::platform::GetMousePointer(), kelpy::platform::MousePointer::Default);
    EXPECT_EQ(last_mark(*spy), 0);
    ReleaseCapture();
    DestroyWindow(other);
    drop_on(L"Elevation");  // the release that follows, over the tree, drops nothing
    EXPECT_EQ(order(), before);
    EXPECT_TRUE(refreshes.empty());
    expect_sound();
}

TEST_F(Dragging, ALayerDroppedOntoItselfStaysWhereItIs) {
    const std::wstring before = order();
    // Its own item and each of its legend rows, at the top level and in a group.
    const std::pair<const wchar_t*, const wchar_t*> drops[] = {
        {L"Roads", L"Roads"}, {L"Roads", L"Minor"}, {L"Roads", L"Highway"}, {L"Parks", L"Parks"},
        {L"Parks", L"Park"}, {L"Parks", L"Garden"}, {L"Water", L""}};
    for (const auto& [dragged, target] : drops) {
        SCOPED_TRACE(com::narrow(std::wstring(dragged) + L" onto " + target));
        start(dragged);
        if (*target) over(target);
        else host::move_mouse(at(item(dragged)->Child(), TVHT_ONITEMICON));  // a row without text
        EXPECT_EQ(last_mark(*spy), 0);
        host::release(Button::Left);
        EXPECT_EQ(order(), before);
        expect_sound();
    }
    EXPECT_TRUE(refreshes.empty());
    EXPECT_EQ(changes.reordered + changes.added + changes.deleted, 0);
}

TEST_F(Dragging, APressWithTwoButtonsDownStartsNoDrag) {
    const POINT label = at(L"Roads");
    host::move_mouse(label);
    host::press(Button::Right);
    host::press(Button::Left);
    host::release(Button::Right);
    host::move_mouse({label.x + 2, label.y});
    host::move_mouse(at(L"Elevation"));
    EXPECT_FALSE(toc->interaction().dragging());
    host::release(Button::Left);
    EXPECT_EQ(sink->count(OnDragLayer), 0u);
    EXPECT_EQ(changes.reordered, 0);
    expect_sound();
}

// The drop lets the pending messages run before it redraws the map; when they took the map away
// (the host unbound the control), the host still hears of the redraw, and nothing fails.
TEST_F(Dragging, ADropWhoseMapWentAwayStillAsksTheHostFirst) {
    PostedCall unbind([&] {
        IMap* none = nullptr;
        EXPECT_EQ(toc->Initialize(&none), S_OK);
    });
    changes.on_reordered = [&] { unbind.post(); };
    drag(L"Photo", L"Roads");
    EXPECT_EQ(changes.reordered, 1);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
    EXPECT_TRUE(refreshes.empty());
    expect_sound();
}

TEST_F(Dragging, ItemsThatARebuildRemovedDropNothing) {
    start(L"Roads");
    over(L"Elevation");
    ASSERT_EQ(toc->Reset(), S_OK);  // the host rebuilds while the drag runs
    host::release(Button::Left);
    EXPECT_EQ(order(), L"Towns, Roads, Land use [Parks, Water], Population, Elevation, Soils, Slope, Photo");
    expect_sound();
}

TEST_F(Dragging, FailingMapCallsNeverLoseOrDuplicateALayer) {
    // Drops of every kind, each with one of its map or group calls failing in turn; after each
    // the host rebuilds the tree, and the next drop works on what the map holds.
    const std::pair<const wchar_t*, const wchar_t*> drops[] = {
        {L"Photo", L"Roads"}, {L"Parks", L"Elevation"}, {L"Towns", L"Water"}, {L"Water", L"Towns"}, {L"Parks", L"Soils"}};
    for (const auto& [dragged, target] : drops) {
        for (int n = 1; n <= 8; ++n) {
            SCOPED_TRACE(com::narrow(std::wstring(dragged) + L" onto " + target + L", call " + std::to_wstring(n)));
            if (n <= 6) faulty->fail_at(n);
            else land_use->fail_at(n - 6);
            drag(dragged, target);
            faulty->fail_at(0);
            land_use->fail_at(0);
            ASSERT_EQ(toc->Reset(), S_OK);
            expect_sound();
        }
    }
}

}  // namespace
