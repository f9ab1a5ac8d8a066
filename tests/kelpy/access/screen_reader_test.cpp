// The control's tree as a screen reader reads it: the accessible object of the tree window's
// client area, asked for through oleacc (AccessibleObjectFromWindow) on the host's thread and on
// a thread of its own, compared with the native tree read back through its own messages; its
// default actions; the WinEvents that follow the tree.
#include <oleacc.h>
#include <algorithm>
#include <thread>
#include <vector>
#include "com/bstr.h"
#include "kelpy/common/hosted_control.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/interact/interact_fixture.h"
#include "tree_reader.h"

using namespace test;

namespace {

VARIANT child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

com::ComPtr<IAccessible> accessible_of(HWND window) {
    com::ComPtr<IAccessible> object;
    com::check(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), object.put_void()));
    return object;
}

std::wstring name_of(IAccessible* object, LONG id) {
    com::Bstr name;
    object->get_accName(child(id), name.put());
    return name.str();
}

std::wstring value_of(IAccessible* object, LONG id) {
    com::Bstr value;
    object->get_accValue(child(id), value.put());
    return value.str();
}

LONG long_of(const VARIANT& v) { return v.vt == VT_I4 ? v.lVal : -1; }

LONG role_of(IAccessible* object, LONG id) {
    VARIANT role;
    VariantInit(&role);
    object->get_accRole(child(id), &role);
    return long_of(role);
}

LONG state_of(IAccessible* object, LONG id) {
    VARIANT state;
    VariantInit(&state);
    object->get_accState(child(id), &state);
    return long_of(state);
}

std::wstring action_of(IAccessible* object, LONG id) {
    com::Bstr action;
    object->get_accDefaultAction(child(id), action.put());
    return action.str();
}

RECT location_of(IAccessible* object, LONG id) {
    LONG left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, child(id));
    return RECT{left, top, left + width, top + height};
}

class ScreenReader : public Interaction {
protected:
    // The child id of the first item with this text: its place in the tree's depth-first order.
    LONG id_of(std::wstring_view text) const {
        const auto items = host::read_items(tree());
        auto it = std::find_if(items.begin(), items.end(), [&](const host::NativeItem& n) { return n.text == text; });
        return it == items.end() ? 0 : LONG(it - items.begin()) + 1;
    }
    LONG selected_id() const {
        const auto items = host::read_items(tree());
        const HTREEITEM selected = host::selected_item(tree());
        auto it = std::find_if(items.begin(), items.end(), [&](const host::NativeItem& n) { return n.handle == selected; });
        return it == items.end() ? 0 : LONG(it - items.begin()) + 1;
    }
    // The row of an item in screen pixels, as the tree reports it.
    RECT screen_row(std::wstring_view text) const {
        RECT row = host::item_rect(tree(), item(text)->handle(), false);
        MapWindowPoints(tree(), HWND_DESKTOP, reinterpret_cast<POINT*>(&row), 2);
        return row;
    }
};

TEST_F(ScreenReader, ReadsEveryItemInTheTreesOrderWithItsNameDepthStatesAndPlace) {
    auto object = accessible_of(tree());
    EXPECT_EQ(role_of(object.get(), CHILDID_SELF), ROLE_SYSTEM_OUTLINE);
    HWND window = nullptr;
    ASSERT_EQ(WindowFromAccessibleObject(object.get(), &window), S_OK);
    EXPECT_EQ(window, tree());

    // Every item, in the order shown: its text, its depth, an outline item.
    const auto items = host::read_items(tree());
    LONG count = 0;
    ASSERT_EQ(object->get_accChildCount(&count), S_OK);
    ASSERT_EQ(size_t(count), items.size());
    for (LONG id = 1; id <= count; ++id) {
        const host::NativeItem& n = items[size_t(id) - 1];
        if (!n.text.empty()) {
            EXPECT_EQ(name_of(object.get(), id), n.text);
        }
        EXPECT_EQ(value_of(object.get(), id), std::to_wstring(n.depth)) << id;
        EXPECT_EQ(role_of(object.get(), id), ROLE_SYSTEM_OUTLINEITEM) << id;
    }
    // A swatch row without text is named after its layer; the holder has no name.
    EXPECT_EQ(name_of(object.get(), id_of(L"Towns") + 1), L"Towns symbol");
    EXPECT_EQ(name_of(object.get(), id_of(L"Water") + 1), L"Water symbol");
    EXPECT_EQ(name_of(object.get(), count), L"");
    com::Bstr none;
    EXPECT_EQ(object->get_accName(child(count + 1), none.put()), E_INVALIDARG);

    // Check boxes by the layer's visibility, expanded and collapsed items, the selection and
    // the focus (a click on a label gives both).
    host::click(at(L"Roads", TVHT_ONITEMICON));
    ASSERT_FALSE(visible(L"Roads"));
    host::click(at(L"Towns"));
    item(L"Land use")->Expanded(false);
    const LONG towns = id_of(L"Towns"), roads = id_of(L"Roads"), land_use = id_of(L"Land use");
    EXPECT_EQ(state_of(object.get(), towns) & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED),
              STATE_SYSTEM_CHECKED | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(state_of(object.get(), roads) & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_SELECTED | STATE_SYSTEM_EXPANDED),
              STATE_SYSTEM_EXPANDED);
    EXPECT_EQ(state_of(object.get(), land_use) & (STATE_SYSTEM_COLLAPSED | STATE_SYSTEM_CHECKED | STATE_SYSTEM_INVISIBLE),
              STATE_SYSTEM_COLLAPSED | STATE_SYSTEM_CHECKED);
    EXPECT_EQ(state_of(object.get(), id_of(L"Parks")) & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN),
              STATE_SYSTEM_INVISIBLE);  // inside a collapsed item
    EXPECT_EQ(state_of(object.get(), id_of(L"Major")) & STATE_SYSTEM_CHECKED, 0);  // no check box
    VARIANT focus, selection;
    VariantInit(&focus);
    VariantInit(&selection);
    ASSERT_EQ(object->get_accFocus(&focus), S_OK);
    ASSERT_EQ(object->get_accSelection(&selection), S_OK);
    EXPECT_EQ(long_of(focus), towns);
    EXPECT_EQ(long_of(selection), towns);

    // The row's place on the screen, and the item under a point of it.
    const RECT row = screen_row(L"Major"), found = location_of(object.get(), id_of(L"Major"));
    EXPECT_TRUE(EqualRect(&row, &found));
    const POINT point = at(L"Major", TVHT_ONITEMLABEL);
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(object->accHitTest(point.x, point.y, &hit), S_OK);
    EXPECT_EQ(long_of(hit), id_of(L"Major"));

    // Scrolled out of the tree's view: invisible and off screen.
    host->resize(280, 120);
    item(L"Photo")->EnsureVisible();
    EXPECT_EQ(state_of(object.get(), 1) & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN),
              STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN);
    EXPECT_EQ(state_of(object.get(), id_of(L"Photo")) & STATE_SYSTEM_INVISIBLE, 0);
}

// A screen reader lives in another process: its calls come through COM's proxy and run on the
// tree's thread while that thread runs its messages. A second thread with an apartment of its
// own asks the same way.
TEST_F(ScreenReader, AnswersAnotherThreadThroughTheTreesThread) {
    auto here = accessible_of(tree());
    const LONG roads = id_of(L"Roads");
    const RECT row = screen_row(L"Roads");
    struct Answers {
        bool proxy = false;
        HRESULT wrong_thread = S_OK, action = E_FAIL;
        LONG count = 0, state = 0;
        std::wstring name, action_name;
        RECT location{};
    } answers;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread reader([&] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        {
            auto there = accessible_of(tree());
            answers.proxy = there.get() != here.get();
            // The object itself, called on a thread not its own, refuses.
            LONG count = 0;
            answers.wrong_thread = here->get_accChildCount(&count);
            there->get_accChildCount(&answers.count);
            answers.name = name_of(there.get(), roads);
            answers.state = state_of(there.get(), roads);
            answers.location = location_of(there.get(), roads);
            answers.action_name = action_of(there.get(), roads);
            answers.action = there->accDoDefaultAction(child(roads));
        }
        CoUninitialize();
        SetEvent(done);
    });
    while (MsgWaitForMultipleObjects(1, &done, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) host::pump_messages();
    reader.join();
    CloseHandle(done);
    host::pump_messages();

    EXPECT_TRUE(answers.proxy);
    EXPECT_EQ(answers.wrong_thread, RPC_E_WRONG_THREAD);
    EXPECT_EQ(size_t(answers.count), host::read_items(tree()).size());
    EXPECT_EQ(answers.name, L"Roads");
    EXPECT_EQ(answers.state & STATE_SYSTEM_CHECKED, STATE_SYSTEM_CHECKED);
    EXPECT_TRUE(EqualRect(&answers.location, &row));
    EXPECT_EQ(answers.action_name, L"Toggle");
    EXPECT_EQ(answers.action, S_OK);
    EXPECT_FALSE(visible(L"Roads"));  // done on this thread, as its messages ran
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
}

TEST_F(ScreenReader, DefaultActionsDoWhatAClickOnTheImageDoes) {
    auto object = accessible_of(tree());
    const LONG roads = id_of(L"Roads"), major = id_of(L"Major");
    EXPECT_EQ(action_of(object.get(), roads), L"Toggle");
    EXPECT_EQ(action_of(object.get(), id_of(L"Land use")), L"Toggle");
    EXPECT_EQ(action_of(object.get(), major), L"Change symbol");

    // The check box: the layer hidden, the host asked, the layer redrawn as the selected one.
    ASSERT_EQ(object->accDoDefaultAction(child(roads)), S_OK);
    host::pump_messages();
    EXPECT_FALSE(visible(L"Roads"));
    EXPECT_EQ(state_of(object.get(), roads) & STATE_SYSTEM_CHECKED, 0);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_TRUE(com::same_object(refreshes[0].data.get(), layer(L"Roads").get()));

    // A class row's swatch: the host asked, the selector shown, its symbol written back.
    selector->answer({.confirm = true, .color = RGB(255, 136, 0)});
    ASSERT_EQ(object->accDoDefaultAction(child(major)), S_OK);
    host::pump_messages();
    EXPECT_EQ(selector->shown(), 1);
    EXPECT_EQ(sink->count(OnSymbolSelector), 1u);
    EXPECT_EQ(refreshes.size(), 3u);  // as after a click: the class's write-back's, then the choice's own

    // Rows where a click does nothing have no default action: the root, a heading, the
    // stretched ramp's rows, the holder.
    LONG count = 0;
    object->get_accChildCount(&count);
    for (LONG id : {LONG(1), id_of(L"Roads") + 1, id_of(L"Elevation") + 1, count}) {
        EXPECT_EQ(action_of(object.get(), id), L"") << id;
        EXPECT_EQ(object->accDoDefaultAction(child(id)), DISP_E_MEMBERNOTFOUND) << id;
    }
    host::pump_messages();
    EXPECT_EQ(selector->shown(), 1);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 3u);
}

// A default action runs when the tree's messages run. A rebuild before then removed its item,
// and may have given its handle to another item: nothing is done.
TEST_F(ScreenReader, ADefaultActionWhoseItemARebuildRemovedDoesNothing) {
    auto object = accessible_of(tree());
    const LONG count = LONG(host::read_items(tree()).size());
    for (LONG id = 1; id <= count; ++id) object->accDoDefaultAction(child(id));
    ASSERT_EQ(toc->Reset(), S_OK);
    host::pump_messages();
    EXPECT_EQ(selector->shown(), 0);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 0u);
    EXPECT_TRUE(visible(L"Roads"));
    EXPECT_TRUE(visible(L"Towns"));
}

// TVM_EXPAND changes what the tree shows without a notification: the states follow the tree.
TEST_F(ScreenReader, StatesFollowItemsThatTVM_EXPANDCollapsesAndExpands) {
    auto object = accessible_of(tree());
    const LONG roads = id_of(L"Roads"), major = id_of(L"Major");
    const auto expand = [&](UINT how) {
        SendMessageW(tree(), TVM_EXPAND, how, reinterpret_cast<LPARAM>(item(L"Roads")->handle()));
    };
    const LONG shown = STATE_SYSTEM_EXPANDED | STATE_SYSTEM_COLLAPSED;
    ASSERT_EQ(state_of(object.get(), roads) & shown, STATE_SYSTEM_EXPANDED);
    expand(TVE_COLLAPSE);
    EXPECT_EQ(state_of(object.get(), roads) & shown, STATE_SYSTEM_COLLAPSED);
    EXPECT_EQ(state_of(object.get(), major) & STATE_SYSTEM_INVISIBLE, STATE_SYSTEM_INVISIBLE);
    expand(TVE_EXPAND);
    EXPECT_EQ(state_of(object.get(), roads) & shown, STATE_SYSTEM_EXPANDED);
    EXPECT_EQ(state_of(object.get(), major) & STATE_SYSTEM_INVISIBLE, 0);
}

// A client may hold the object for longer than the control lives: its calls then fail, and
// nothing that went with the control is touched.
TEST(AccessibleTree, RefusesCallsOnceTheControlIsGone) {
    com::ComPtr<IAccessible> object;
    {
        HostedControl hosted;
        ASSERT_EQ(hosted.initialize(make_map(L"Gone", {feature_layer(L"One")}).get()), S_OK);
        object = accessible_of(hosted.tree());
        LONG count = 0;
        EXPECT_EQ(object->get_accChildCount(&count), S_OK);
        EXPECT_EQ(size_t(count), host::read_items(hosted.tree()).size());
    }
    LONG count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->accDoDefaultAction(child(1)), CO_E_OBJNOTCONNECTED);
}

// The WinEvents a screen reader listens to, out of context (posted to the listening thread).
std::vector<std::pair<DWORD, LONG>>* heard = nullptr;
HWND heard_window = nullptr;

void CALLBACK listen(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG id, DWORD, DWORD) {
    if (heard && window == heard_window && object == OBJID_CLIENT) heard->push_back({event, id});
}

TEST_F(ScreenReader, AGroupWithHiddenMembersIsMixedWhereItsCheckBoxShowsIt) {
    auto object = accessible_of(tree());
    com::check(layer(L"Parks")->put_Visible(VARIANT_FALSE));
    ASSERT_EQ(toc->Reset(), S_OK);
    const LONG land_use = id_of(L"Land use");
    EXPECT_EQ(state_of(object.get(), land_use) & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED), STATE_SYSTEM_CHECKED);
    ASSERT_EQ(toc->put_MixedGroupChecks(VARIANT_TRUE), S_OK);
    EXPECT_EQ(state_of(object.get(), id_of(L"Land use")) & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED),
              STATE_SYSTEM_MIXED);
}

TEST_F(ScreenReader, WinEventsFollowTheSelectionTheCheckBoxesAndTheRebuild) {
    std::vector<std::pair<DWORD, LONG>> events;
    heard = &events;
    heard_window = tree();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_STATECHANGE, nullptr, listen,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    auto heard_event = [&](DWORD event, LONG id) {
        return std::find(events.begin(), events.end(), std::pair<DWORD, LONG>{event, id}) != events.end();
    };

    host::click(at(L"Roads"));
    events.clear();
    host::press_key(VK_DOWN);
    const LONG below = selected_id();
    ASSERT_EQ(below, id_of(L"Roads") + 1);
    EXPECT_TRUE(heard_event(EVENT_OBJECT_FOCUS, below));
    EXPECT_TRUE(heard_event(EVENT_OBJECT_SELECTION, below));

    host::press_key(VK_UP);
    host::press_key(VK_SPACE);
    EXPECT_TRUE(heard_event(EVENT_OBJECT_STATECHANGE, id_of(L"Roads")));

    events.clear();
    ASSERT_EQ(toc->Reset(), S_OK);
    host::pump_messages();
    EXPECT_TRUE(heard_event(EVENT_OBJECT_REORDER, CHILDID_SELF));
    EXPECT_TRUE(heard_event(EVENT_OBJECT_SELECTION, 1));  // the rebuild selects the root

    UnhookWinEvent(hook);
    heard = nullptr;
}

}  // namespace
