// The control in a container of ours: started at run time however the container loads it,
// the tree filling the control and following its size, the design-time caption, and the end of
// the hosting (the windows' input no longer handled, control freed).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <map>
#include <string>
#include "com/variant.h"
#include "kelpy/control/container_fixture.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"

namespace {

using host::ControlHost;
using host::HostOptions;
using host::Persistence;

constexpr LONG_PTR added_styles = TVS_LINESATROOT | TVS_NONEVENHEIGHT;

std::wstring expected_caption() {
    return L"KELPY Control " + std::to_wstring(KELPY_VERSION_MAJOR) + L"." + std::to_wstring(KELPY_VERSION_MINOR) +
           L"." + std::to_wstring(KELPY_VERSION_REVISION);
}

// However the container starts the control (new, from a stream, from a property bag), the
// control ends up in the same run-time state.
class RunTimeHosting : public ::testing::TestWithParam<Persistence> {};

TEST_P(RunTimeHosting, StartsOnceLoadedAndActive) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), test::options(240, 320, true, GetParam()));
    ASSERT_TRUE(toc->Loaded());
    ASSERT_TRUE(toc->RunTimeStarted());
    EXPECT_FALSE(toc->DesignMode());

    HWND window = host.controlWindow();
    ASSERT_EQ(window, toc->hWnd());
    EXPECT_EQ(GetParent(window), host.window());
    HWND tree = toc->tree().hWnd();
    EXPECT_TRUE(IsWindowVisible(tree));
    EXPECT_TRUE(toc->Listening());
    EXPECT_TRUE(test::answers_custom_draw(window));
    EXPECT_EQ(GetWindowLongPtrW(tree, GWL_STYLE) & added_styles, added_styles);

    // The tree fills the control, which fills the host's client area.
    RECT client{};
    GetClientRect(host.window(), &client);
    RECT control = test::rect_in_parent(window);
    EXPECT_TRUE(EqualRect(&control, &client));
    RECT treeRect = test::rect_in_parent(tree);
    EXPECT_TRUE(test::same_rect(treeRect, RECT{0, 0, 240, 320}));
    EXPECT_TRUE(host.site().inPlaceActive());
}

INSTANTIATE_TEST_SUITE_P(Persistence, RunTimeHosting,
                         ::testing::Values(Persistence::InitNew, Persistence::StreamLoad, Persistence::PropertyBagLoad));

TEST(Hosting, HostWithoutUserModeMeansRunTime) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), test::options(300, 400, std::nullopt));
    EXPECT_TRUE(toc->RunTimeStarted());
    EXPECT_FALSE(toc->DesignMode());
}

TEST(Hosting, TreeFollowsEveryResize) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), test::options(200, 200));
    HWND tree = toc->tree().hWnd();
    for (auto [w, h] : {std::pair{350, 150}, std::pair{160, 410}, std::pair{220, 30}}) {
        host.resize(w, h);
        RECT client{};
        GetClientRect(host.window(), &client);
        EXPECT_TRUE(test::same_rect(client, RECT{0, 0, w, h})) << w << " x " << h;
        RECT control = test::rect_in_parent(toc->hWnd());
        EXPECT_TRUE(test::same_rect(control, client)) << w << " x " << h;
        RECT r = test::rect_in_parent(tree);
        EXPECT_TRUE(test::same_rect(r, client)) << w << " x " << h;
    }
}

TEST(Hosting, InitializeAfterHostingBuildsTheTree) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), HostOptions{});
    auto map = test::make_map(L"Bay", {test::make_layer(test::LayerKind::Plain, L"Towns"), test::make_layer(test::LayerKind::Plain, L"Roads", false)});
    IMap* argument = map.get();
    ASSERT_EQ(toc->Initialize(&argument), S_OK);
    auto items = host::read_items(GetWindow(toc->hWnd(), GW_CHILD));
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(items.front().text, L"Bay");
    EXPECT_EQ(host::image_key(items.front().image), L"root");
}

// A container that deactivates the control in place and activates it again (as containers that
// recreate their windows do) gets the same control in a new window: started, showing its map,
// with the memory it had.
TEST(Hosting, ActivatedAgainTheControlStartsItsNewWindowAndKeepsItsMemory) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), test::options(240, 320));
    auto map = test::make_map(L"Bay", {test::group_layer(L"Harbour", {test::feature_layer(L"Piers")})});
    IMap* argument = map.get();
    ASSERT_EQ(toc->Initialize(&argument), S_OK);
    kelpy::NodeStates& memory = toc->builder().states();
    ASSERT_EQ(memory[1].Text, L"Harbour");
    memory.SetExpanded(1, false);  // as if the user had collapsed the group

    HWND old_window = toc->hWnd();
    ASSERT_EQ(host.control().as<IOleInPlaceObject>()->InPlaceDeactivate(), S_OK);
    EXPECT_FALSE(IsWindow(old_window));
    RECT client{};
    GetClientRect(host.window(), &client);
    ASSERT_EQ(host.control()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &host.site(), 0, host.window(), &client), S_OK);

    HWND window = toc->hWnd();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), host.window());
    HWND tree = toc->tree().hWnd();
    EXPECT_TRUE(IsWindowVisible(tree));
    EXPECT_TRUE(test::same_rect(test::rect_in_parent(tree), RECT{0, 0, 240, 320}));
    EXPECT_TRUE(toc->Listening());
    EXPECT_TRUE(test::answers_custom_draw(window));
    EXPECT_EQ(GetWindowLongPtrW(tree, GWL_STYLE) & added_styles, added_styles);
    // The map is shown again, with the state the memory kept.
    auto items = host::read_items(tree);
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items[0].text, L"Bay");
    EXPECT_EQ(items[1].text, L"Harbour");
    EXPECT_FALSE(items[1].expanded());
    EXPECT_EQ(memory[1].Text, L"Harbour");
}

// Two controls on one thread (a host showing two maps): each control's window answers its own
// tree's custom draw (the legends' swatches), also after the other has ended.
TEST(Hosting, TwoControlsOnOneThreadEachAnswerTheirTrees) {
    auto first = test::new_control(), second = test::new_control();
    ControlHost a(first.get()->unknown(), test::options(200, 300));
    ControlHost b(second.get()->unknown(), test::options(200, 300));
    for (kelpy::Toc* toc : {first.get(), second.get()}) EXPECT_TRUE(test::answers_custom_draw(toc->hWnd()));
    b.close();
    EXPECT_FALSE(second->Listening());
    EXPECT_TRUE(test::answers_custom_draw(first->hWnd()));
}

TEST(Hosting, DesignTimeShowsOnlyTheCaption) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), test::options(300, 120, false));
    EXPECT_TRUE(toc->DesignMode());
    EXPECT_FALSE(toc->RunTimeStarted());
    HWND tree = toc->tree().hWnd();
    EXPECT_FALSE(IsWindowVisible(tree));
    EXPECT_FALSE(toc->Listening());
    EXPECT_FALSE(test::answers_custom_draw(toc->hWnd()));
    EXPECT_EQ(GetWindowLongPtrW(tree, GWL_STYLE) & added_styles, 0);
    EXPECT_EQ(kelpy::Toc::DesignCaption(), expected_caption());

    // The caption is centred on white, as wide as the text.
    host::Pixels picture = host.render();
    RECT ink = test::ink_box(picture, 0xFFFFFF);
    ASSERT_FALSE(IsRectEmpty(&ink));
    win::DibCanvas measure(1, 1);
    SIZE text{};
    const std::wstring caption = expected_caption();
    GetTextExtentPoint32W(measure.dc(), caption.c_str(), int(caption.size()), &text);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 150.0, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 60.0, 3.0);
    EXPECT_LE(ink.right - ink.left, text.cx);
    EXPECT_GE(ink.right - ink.left, text.cx - 8);
    EXPECT_LE(ink.bottom - ink.top, text.cy);
}

// The window's own paint handler paints the same caption into the device context it is given.
TEST(Hosting, DesignTimePaintHandlerFillsWhiteAndCentresTheCaption) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), test::options(260, 90, false));
    win::DibCanvas canvas(260, 90);
    RECT all{0, 0, 260, 90};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    toc->UserControl_Paint(canvas.dc());
    host::Pixels painted = host::pixels_of(canvas);
    EXPECT_EQ(painted.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(painted.at(259, 89), 0xFFFFFFu);
    RECT ink = test::ink_box(painted, 0xFFFFFF);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 130.0, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 45.0, 3.0);
}

TEST(Hosting, RunTimePictureIsTheTree) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), test::options(200, 150));
    auto map = test::make_map(L"Bay", {test::make_layer(test::LayerKind::Plain, L"Towns")});
    IMap* argument = map.get();
    ASSERT_EQ(toc->Initialize(&argument), S_OK);
    host::Pixels picture = host.render();
    RECT ink = test::ink_box(picture, GetSysColor(COLOR_WINDOW) & 0xFFFFFF);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_LT(ink.top, 20);  // the root item is at the top
}

// Terminate: the control no longer acts on its windows' input (a key toggles no layer, the custom
// draw goes unanswered), and the windows stay.
TEST(Hosting, TerminateEndsTheHandlingOfTheWindowsInput) {
    auto toc = test::new_control();
    ControlHost host(toc.get()->unknown(), HostOptions{});
    auto map = test::make_map(L"Bay", {test::make_layer(test::LayerKind::Plain, L"Towns")});
    IMap* argument = map.get();
    ASSERT_EQ(toc->Initialize(&argument), S_OK);
    HWND tree = toc->tree().hWnd();
    HWND window = toc->hWnd();
    // Space on the selected layer item toggles the layer.
    auto toggles = [&] {
        const kelpy::NodePtr towns = toc->tree().Nodes().Item(2);
        towns->Selected(true);
        const std::wstring before = towns->Image();
        SendMessageW(tree, WM_KEYDOWN, VK_SPACE, 0);
        return towns->Image() != before;
    };
    ASSERT_TRUE(toggles());
    toc->Terminate();
    EXPECT_FALSE(toc->Listening());
    EXPECT_FALSE(toggles());
    EXPECT_FALSE(test::answers_custom_draw(window));
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), GetClassLongPtrW(window, GCLP_WNDPROC));
    toc->Terminate();  // a second time: nothing left to do
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindow(tree));
}

TEST(Hosting, CloseEndsTheHostingAndTheControlIsFreed) {
    const long before = com::Module::live_objects();
    {
        auto toc = test::new_control();
        ControlHost host(toc.get()->unknown(), HostOptions{});
        auto map = test::make_map(L"Bay", {test::make_layer(test::LayerKind::Plain, L"Towns")});
        IMap* argument = map.get();
        ASSERT_EQ(toc->Initialize(&argument), S_OK);
        HWND window = toc->hWnd();
        host.close();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(toc->hWnd(), nullptr);
        EXPECT_FALSE(toc->Listening());
        EXPECT_FALSE(host.site().inPlaceActive());
    }
    EXPECT_EQ(com::Module::live_objects(), before);
}

// The container's window goes first (its child, the control's window, with it): the hooks end
// with the windows, and the control is freed when the container lets it go.
TEST(Hosting, ContainerWindowDestroyedFirst) {
    const long before = com::Module::live_objects();
    {
        auto toc = test::new_control();
        ControlHost host(toc.get()->unknown(), HostOptions{});
        HWND window = toc->hWnd();
        DestroyWindow(host.window());
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(toc->hWnd(), nullptr);
        EXPECT_FALSE(toc->Listening());
    }
    EXPECT_EQ(com::Module::live_objects(), before);
}

TEST(OleObject, AnswersWhatContainersAsk) {
    auto toc = test::new_control();
    auto object = com::ComPtr<IUnknown>(toc.get()->unknown()).as<IOleObject>();
    DWORD status = 0;
    EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_TRUE(status & OLEMISC_SETCLIENTSITEFIRST);
    EXPECT_TRUE(status & OLEMISC_ACTIVATEWHENVISIBLE);
    CLSID clsid{};
    EXPECT_EQ(object->GetUserClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TOC);
    SIZEL extent{1000, 2000};
    EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &extent), S_OK);
    SIZEL back{};
    EXPECT_EQ(object->GetExtent(DVASPECT_CONTENT, &back), S_OK);
    EXPECT_EQ(back.cx, 1000);
    EXPECT_EQ(back.cy, 2000);
    SIZEL negative{-1, 5};
    EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &negative), E_INVALIDARG);
    EXPECT_EQ(object->SetExtent(DVASPECT_ICON, &extent), DV_E_DVASPECT);
    // Activation needs a site to activate in; without one nothing is created.
    EXPECT_TRUE(FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr)));
    EXPECT_EQ(toc->hWnd(), nullptr);
    // The control cannot open in a window of its own.
    EXPECT_EQ(object->DoVerb(OLEIVERB_OPEN, nullptr, nullptr, 0, nullptr, nullptr), E_NOTIMPL);
    // Every interface a container asks for answers, with one identity.
    for (const IID* iid : {&IID_IOleObject, &IID_IOleInPlaceObject, &IID_IOleInPlaceActiveObject, &IID_IOleWindow,
                           &IID_IOleControl, &IID_IViewObject, &IID_IViewObject2, &IID_IPersist,
                           &IID_IPersistStreamInit, &IID_IPersistPropertyBag, &IID_IConnectionPointContainer,
                           &IID_IProvideClassInfo, &IID_IProvideClassInfo2, &IID_IDispatch, &IID__TOC}) {
        com::ComPtr<IUnknown> p;
        ASSERT_EQ(object->QueryInterface(*iid, p.put_void()), S_OK);
        EXPECT_TRUE(com::same_object(p.get(), object.get()));
    }
}

TEST(Persistence, StoresNothingAndLoadsNothing) {
    auto toc = test::new_control();
    auto stream_init = com::ComPtr<IUnknown>(toc.get()->unknown()).as<IPersistStreamInit>();
    com::ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    EXPECT_EQ(stream_init->Save(stream.get(), TRUE), S_OK);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(stat.cbSize.QuadPart, 0u);
    EXPECT_EQ(stream_init->IsDirty(), S_FALSE);
    ULARGE_INTEGER size{};
    EXPECT_EQ(stream_init->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, 0u);
    EXPECT_EQ(stream_init->Load(nullptr), E_POINTER);
    EXPECT_FALSE(toc->Loaded());
    CLSID clsid{};
    EXPECT_EQ(stream_init->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TOC);
}

// A property bag as a container keeps one.
class Bag final : public com::ComObject<Bag, IPropertyBag> {
public:
    std::map<std::wstring, com::Variant> values;
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* v, IErrorLog*) override {
        auto it = values.find(name);
        if (it == values.end()) return E_INVALIDARG;
        return VariantCopy(v, it->second.get());
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* v) override {
        values[name] = com::Variant(*v);
        return S_OK;
    }
};

// The second interface's options go with the control's state, in a stream and in a property
// bag; state saved without them (an empty stream, or a stream that holds something else next)
// loads with every option off and is left as it was.
TEST(Persistence, OptionsGoWithTheState) {
    auto toc = test::new_control();
    auto options = toc.as<_TOC2>();
    ASSERT_EQ(options->put_ShowNestedGroups(VARIANT_TRUE), S_OK);
    ASSERT_EQ(options->put_ShowTips(VARIANT_TRUE), S_OK);
    auto stream_init = com::ComPtr<IUnknown>(toc->unknown()).as<IPersistStreamInit>();
    EXPECT_EQ(stream_init->IsDirty(), S_OK);
    com::ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(stream_init->Save(stream.get(), TRUE), S_OK);
    auto bag = Bag::create();
    ASSERT_EQ(com::ComPtr<IUnknown>(toc->unknown()).as<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(bag->values.size(), 2u);  // the options that are on

    auto expect_loaded = [](const com::ComPtr<kelpy::Toc>& loaded, bool on) {
        auto o = loaded.as<_TOC2>();
        VARIANT_BOOL nested = VARIANT_FALSE, tips = VARIANT_FALSE, mark = VARIANT_TRUE;
        o->get_ShowNestedGroups(&nested);
        o->get_ShowTips(&tips);
        o->get_DropAtMark(&mark);
        EXPECT_EQ(nested, on ? VARIANT_TRUE : VARIANT_FALSE);
        EXPECT_EQ(tips, on ? VARIANT_TRUE : VARIANT_FALSE);
        EXPECT_EQ(mark, VARIANT_FALSE);
    };
    const LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    auto from_stream = test::new_control();
    ASSERT_EQ(com::ComPtr<IUnknown>(from_stream->unknown()).as<IPersistStreamInit>()->Load(stream.get()), S_OK);
    expect_loaded(from_stream, true);
    auto from_bag = test::new_control();
    ASSERT_EQ(com::ComPtr<IUnknown>(from_bag->unknown()).as<IPersistPropertyBag>()->Load(bag.get(), nullptr), S_OK);
    expect_loaded(from_bag, true);

    // Saved before there were options: nothing of the control's, then another object's bytes.
    com::ComPtr<IStream> older;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, older.put()), S_OK);
    const char next[] = "another object's state";
    older->Write(next, sizeof next, nullptr);
    older->Seek(start, STREAM_SEEK_SET, nullptr);
    auto from_older = test::new_control();
    ASSERT_EQ(com::ComPtr<IUnknown>(from_older->unknown()).as<IPersistStreamInit>()->Load(older.get()), S_OK);
    expect_loaded(from_older, false);
    ULARGE_INTEGER at{};
    older->Seek(start, STREAM_SEEK_CUR, &at);
    EXPECT_EQ(at.QuadPart, 0u);
}

// The third interface's two Boolean options go with the state too, after the second's (a stream
// saved before them holds fewer options and loads with these off); the host's MapScale does not.
TEST(Persistence, ScaleRangesAndCountsGoWithTheState) {
    auto toc = test::new_control();
    auto third = toc.as<_TOC3>();
    ASSERT_EQ(third->put_ShowScaleRanges(VARIANT_TRUE), S_OK);
    ASSERT_EQ(third->put_ShowFeatureCounts(VARIANT_TRUE), S_OK);
    ASSERT_EQ(third->put_MapScale(25000), S_OK);
    com::ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(com::ComPtr<IUnknown>(toc->unknown()).as<IPersistStreamInit>()->Save(stream.get(), TRUE), S_OK);
    auto bag = Bag::create();
    ASSERT_EQ(com::ComPtr<IUnknown>(toc->unknown()).as<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(bag->values.size(), 2u);

    auto expect_loaded = [](const com::ComPtr<kelpy::Toc>& loaded) {
        auto o = loaded.as<_TOC3>();
        VARIANT_BOOL ranges = VARIANT_FALSE, counts = VARIANT_FALSE;
        double scale = -1;
        o->get_ShowScaleRanges(&ranges);
        o->get_ShowFeatureCounts(&counts);
        o->get_MapScale(&scale);
        EXPECT_EQ(ranges, VARIANT_TRUE);
        EXPECT_EQ(counts, VARIANT_TRUE);
        EXPECT_EQ(scale, 0.0);
    };
    const LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    auto from_stream = test::new_control();
    ASSERT_EQ(com::ComPtr<IUnknown>(from_stream->unknown()).as<IPersistStreamInit>()->Load(stream.get()), S_OK);
    expect_loaded(from_stream);
    auto from_bag = test::new_control();
    ASSERT_EQ(com::ComPtr<IUnknown>(from_bag->unknown()).as<IPersistPropertyBag>()->Load(bag.get(), nullptr), S_OK);
    expect_loaded(from_bag);
}

}  // namespace
