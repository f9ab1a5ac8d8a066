// What the host hears of a person's actions besides the events of __TOC: every action that fails
// is told once (OnActionFailed, on __TOC2), and an action ends where the host let go of the
// control inside any event it raised.
#include "com/bstr.h"
#include "kelpy/common/debug_output.h"
#include "kelpy/common/faulty_layer.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/interact/interact_fixture.h"

using namespace test;

namespace {

class ActionEvents : public Interaction {
protected:
    void SetUp() override {
        Interaction::SetUp();
        second = RecordingSink::make();
        second_connection = std::make_unique<EventConnection>(toc->unknown(), second.get(), DIID___TOC2);
    }
    void TearDown() override {
        second_connection.reset();
        Interaction::TearDown();
    }

    // Selects an item as a person does (a click on its label), which gives the tree the focus.
    void select(std::wstring_view text) {
        if (selected_text() == text) SetFocus(tree());
        else host::click(at(text));
        ASSERT_EQ(selected_text(), std::wstring(text));
    }
    // The failures told since the last call: "action number: description".
    std::vector<std::wstring> told() {
        std::vector<std::wstring> out;
        for (const ReceivedEvent& e : second->events)
            if (e.id == OnActionFailed && e.texts.size() == 2)
                out.push_back(e.texts[0] + L" " + std::to_wstring(e.contextMenuType) + L": " + e.texts[1]);
        second->events.clear();
        return out;
    }
    std::wstring name_of(const com::ComPtr<ILayer>& l) const {
        com::Bstr name;
        com::check(l->get_Name(name.put()));
        return name.str();
    }

    com::ComPtr<RecordingSink> second;  // hears __TOC2
    std::unique_ptr<EventConnection> second_connection;
};

std::wstring status(HRESULT hr) { return std::to_wstring(LONG(hr)); }

TEST_F(ActionEvents, EveryFailedActionIsToldOnceAndStillWrittenToTheDebuggerOutput) {
    DebugOutput output;
    // A move by key: the map's first call fails.
    select(L"Towns");
    faulty->fail_at(1, E_INVALIDARG, L"The move failed");
    host::press_key(VK_DOWN, {VK_MENU});
    faulty->fail_at(0);
    EXPECT_EQ(told(), std::vector<std::wstring>{L"move " + status(E_INVALIDARG) + L": The move failed"});

    // A drop: the map's first call after the release fails; the drag has let go of the mouse
    // before the host hears of it.
    const POINT photo = at(L"Photo"), roads = at(L"Roads");
    host::move_mouse(photo);
    host::press(host::Button::Left);
    host::move_mouse({photo.x + 1, photo.y});
    host::move_mouse(roads);
    HWND capture_when_told = tree();
    second->decide = [&](DISPID) {
        capture_when_told = GetCapture();
        return false;
    };
    faulty->fail_at(1, E_INVALIDARG, L"The drop failed");
    host::release(host::Button::Left);
    faulty->fail_at(0);
    second->decide = nullptr;
    EXPECT_EQ(told(), std::vector<std::wstring>{L"move " + status(E_INVALIDARG) + L": The drop failed"});
    EXPECT_EQ(capture_when_told, nullptr);

    // A toggle whose redraw fails: the redraw is told, not the toggle that asked for it. (The
    // failed move's Alt key was the control's: the system knows it, and the next key reaches the
    // tree, not the host's menu.)
    select(L"Towns");
    DebugOutput::take();
    faulty->fail_at(1, E_FAIL, L"The view failed");
    host::press_key(VK_SPACE);
    faulty->fail_at(0);
    EXPECT_EQ(told(), std::vector<std::wstring>{L"refresh " + status(E_FAIL) + L": The view failed"});
    EXPECT_NE(DebugOutput::take().find(L"The view failed"), std::wstring::npos);

    // The rebuild after a change of the map; a status of the control facility goes as Visual
    // Basic's Err.Number shows it.
    faulty->fail_at(1, com::CTL_E_OBJECTNOTSET, L"The map is gone");
    append_layer(map.get(), feature_layer(L"Harbours").get());
    faulty->fail_at(0);
    EXPECT_EQ(told(), std::vector<std::wstring>{L"rebuild 91: The map is gone"});
    ASSERT_EQ(toc->Reset(), S_OK);

    // A symbol confirmed for a class that the renderer lost while the selector was open.
    com::ComPtr<IFeatureRenderer> renderer;
    com::check(layer(L"Roads").as<IFeatureRendering>()->get_Renderer(renderer.put()));
    selector->answer({.confirm = true, .while_open = [&] {
                          ASSERT_EQ(renderer.as<IClassBreaksRenderer>()->put_BreakCount(1), S_OK);
                          ASSERT_EQ(toc->Reset(), S_OK);
                      }});
    select(L"Highway");
    host::press_key(VK_RETURN);
    auto symbol = told();
    ASSERT_EQ(symbol.size(), 1u);
    EXPECT_EQ(symbol[0].rfind(L"symbol ", 0), 0u) << com::narrow(symbol[0]);
    EXPECT_NE(symbol[0].find(L"no longer holds the class"), std::wstring::npos);

    // A toggle and a rename that the layer refuses.
    auto broken = FaultyLayer::create(L"Broken", 0);
    bind(make_map(L"Faults", {com::ComPtr<ILayer>(broken.get())}).get());
    select(L"Broken");
    broken->fail_in(2);  // get_Visible, then put_Visible fails
    host::press_key(VK_SPACE);
    const std::wstring refused = status(E_FAIL) + L": The layer Broken failed on purpose";
    EXPECT_EQ(told(), std::vector<std::wstring>{L"toggle " + refused});
    ASSERT_EQ(toc.as<_TOC2>()->put_AllowRename(VARIANT_TRUE), S_OK);
    select(L"Broken");
    host::press_key(VK_F2);
    host::type_text(L"Mended");
    broken->fail_in(1);  // the name written
    host::press_key(VK_RETURN);
    EXPECT_EQ(told(), std::vector<std::wstring>{L"rename " + refused});
    EXPECT_EQ(name_of(com::ComPtr<ILayer>(broken.get())), L"Broken");
}

// The host lets go of the control (closes it and drops every reference) inside one event; the
// action that raised it goes no further, and nothing touches the control after it is gone.
class LetGo : public ActionEvents, public ::testing::WithParamInterface<const char*> {
protected:
    void let_go_in(const com::ComPtr<RecordingSink>& where, DISPID id) {
        where->decide = [this, id](DISPID got) {
            if (got == id && toc) {
                second_connection.reset();
                connection.reset();
                host->close();
                toc = nullptr;
            }
            return false;
        };
    }
};

TEST_P(LetGo, TheActionEndsWhereTheHostLetGoOfTheControl) {
    const std::string event = GetParam();
    const HWND tree_window = tree();
    const auto towns = layer(L"Towns");
    const std::wstring before = order();
    if (event == "OnContextMenu") {
        select(L"Roads");
        let_go_in(sink, OnContextMenu);
        host::press_key(VK_APPS);
    } else if (event == "OnSymbolSelector") {
        select(L"Major");
        let_go_in(sink, OnSymbolSelector);
        host::press_key(VK_RETURN);
        EXPECT_EQ(selector->shown(), 0);
    } else if (event == "OnDragLayer") {
        const POINT from = at(L"Photo"), to = at(L"Roads");
        let_go_in(sink, OnDragLayer);
        host::drag(from, to);
        EXPECT_EQ(GetCapture(), nullptr);
    } else if (event == "OnBeforeRefreshMap") {
        select(L"Towns");
        let_go_in(sink, OnBeforeRefreshMap);
        host::press_key(VK_SPACE);
    } else if (event == "OnLayerRenaming") {
        ASSERT_EQ(toc.as<_TOC2>()->put_AllowRename(VARIANT_TRUE), S_OK);
        select(L"Towns");
        host::press_key(VK_F2);
        host::type_text(L"Ports");
        let_go_in(second, OnLayerRenaming);
        host::press_key(VK_RETURN);
        EXPECT_EQ(name_of(towns), L"Towns");
    } else if (event == "OnActionFailed") {
        select(L"Towns");
        let_go_in(second, OnActionFailed);
        faulty->fail_at(1);
        host::press_key(VK_SPACE);
        faulty->fail_at(0);
    }
    host::pump_messages(50);
    EXPECT_FALSE(toc);  // the event came, and the host let go
    EXPECT_FALSE(IsWindow(tree_window));
    EXPECT_TRUE(refreshes.empty());  // no action went on to redraw the map
    EXPECT_EQ(order(), before);
}

INSTANTIATE_TEST_SUITE_P(EachEvent, LetGo,
                         ::testing::Values("OnContextMenu", "OnSymbolSelector", "OnDragLayer", "OnBeforeRefreshMap",
                                           "OnLayerRenaming", "OnActionFailed"));

}  // namespace
