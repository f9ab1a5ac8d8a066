// The map: its layer list, the notifications each change sends (in order, inside the call),
// the errors that change nothing, and the connection point that delivers the notifications.
#include "fixture.h"

using namespace mm;

namespace {

using Events = std::vector<std::wstring>;

struct MapWithSink {
    ComPtr<IMap> map = create<IMap>(CLSID_Map);
    ComPtr<RecordingSink> sink = RecordingSink::create();
    Subscription subscription{map.get(), sink->unknown()};
};

}  // namespace

TEST(Map, AddDeleteAndMoveNotifyInOrderInsideTheCall) {
    MapWithSink m;
    auto a = plain_layer(L"A"), b = plain_layer(L"B"), c = plain_layer(L"C");
    long count_seen = -1;
    m.sink->on_event = [&](const std::wstring& e) {
        if (e == L"ItemAdded(C)") m.map->get_LayerCount(&count_seen);
    };
    ASSERT_EQ(m.map->AddLayer(a.get()), S_OK);
    ASSERT_EQ(m.map->AddLayer(b.get()), S_OK);
    ASSERT_EQ(m.map->AddLayer(c.get()), S_OK);
    EXPECT_EQ(count_seen, 3) << "the sink sees the map after the change";
    EXPECT_EQ(layer_names(m.map.get()), (Events{L"C", L"B", L"A"})) << "each new layer goes on top";

    ASSERT_EQ(m.map->MoveLayer(c.get(), 2), S_OK);
    EXPECT_EQ(layer_names(m.map.get()), (Events{L"B", L"A", L"C"}));
    ASSERT_EQ(m.map->DeleteLayer(a.get()), S_OK);
    EXPECT_EQ(layer_names(m.map.get()), (Events{L"B", L"C"}));

    EXPECT_EQ(m.sink->events, (Events{L"ItemAdded(A)", L"ContentsChanged", L"ItemAdded(B)", L"ContentsChanged",
                                      L"ItemAdded(C)", L"ContentsChanged", L"ItemReordered(C,2)", L"ContentsChanged",
                                      L"ItemDeleted(A)", L"ContentsChanged"}));
}

TEST(Map, ClearLayersReportsEveryLayerThenTheClearing) {
    MapWithSink m;
    m.map->AddLayer(plain_layer(L"A").get());
    m.map->AddLayer(plain_layer(L"B").get());
    m.sink->events.clear();
    ASSERT_EQ(m.map->ClearLayers(), S_OK);
    EXPECT_EQ(m.sink->events, (Events{L"ItemDeleted(B)", L"ItemDeleted(A)", L"ContentsCleared"}));
    EXPECT_TRUE(layer_names(m.map.get()).empty());
}

TEST(Map, FailedCallsChangeNothingAndNotifyNoOne) {
    MapWithSink m;
    auto a = plain_layer(L"A"), b = plain_layer(L"B"), stranger = plain_layer(L"X");
    m.map->AddLayer(a.get());
    m.map->AddLayer(b.get());
    m.sink->events.clear();

    ComPtr<ILayer> none;
    EXPECT_EQ(m.map->get_Layer(2, none.put()), E_INVALIDARG);
    EXPECT_NE(last_error().find(L"out of range"), std::wstring::npos) << "the error says what is wrong";
    EXPECT_EQ(m.map->get_Layer(-1, none.put()), E_INVALIDARG);
    EXPECT_FALSE(none);
    EXPECT_EQ(m.map->DeleteLayer(stranger.get()), E_INVALIDARG);
    EXPECT_EQ(last_error(), L"The layer is not in the map");
    EXPECT_EQ(m.map->MoveLayer(stranger.get(), 0), E_INVALIDARG);
    EXPECT_EQ(m.map->MoveLayer(a.get(), -1), E_INVALIDARG);
    EXPECT_EQ(m.map->MoveLayer(a.get(), 2), E_INVALIDARG);
    EXPECT_EQ(m.map->AddLayer(a.get()), E_INVALIDARG) << "a layer is in the map once";
    EXPECT_EQ(m.map->AddLayer(nullptr), E_POINTER);
    EXPECT_EQ(m.map->DeleteLayer(nullptr), E_POINTER);

    EXPECT_EQ(layer_names(m.map.get()), (Events{L"B", L"A"}));
    EXPECT_TRUE(m.sink->events.empty());
}

TEST(Map, ChangesInsideAGroupNotifyNothingOnTheMap) {
    MapWithSink m;
    auto group = create<IGroupLayer>(CLSID_GroupLayer);
    m.map->AddLayer(group.as<ILayer>().get());
    m.sink->events.clear();

    auto member = plain_layer(L"M"), second = plain_layer(L"N");
    ASSERT_EQ(group->Add(member.get()), S_OK);
    ASSERT_EQ(group->Add(second.get()), S_OK);
    ASSERT_EQ(group->Delete(member.get()), S_OK);
    EXPECT_TRUE(m.sink->events.empty());

    auto members = group.as<ISubLayers>();
    long n = 0;
    members->get_Count(&n);
    EXPECT_EQ(n, 1);
}

TEST(Map, GroupLayersAppendAtTheBottomAndRefuseWhatWouldBreakThem) {
    auto group = create<IGroupLayer>(CLSID_GroupLayer);
    auto inner = create<IGroupLayer>(CLSID_GroupLayer);
    auto a = plain_layer(L"A"), b = plain_layer(L"B");
    ASSERT_EQ(group->Add(a.get()), S_OK);
    ASSERT_EQ(group->Add(b.get()), S_OK);
    ASSERT_EQ(group->Add(inner.as<ILayer>().get()), S_OK);
    auto members = group.as<ISubLayers>();
    ComPtr<ILayer> first, second;
    members->get_Layer(0, first.put());
    members->get_Layer(1, second.put());
    EXPECT_EQ(name_of(first.get()), L"A");
    EXPECT_EQ(name_of(second.get()), L"B");

    EXPECT_EQ(group->Add(a.get()), E_INVALIDARG) << "a member once";
    EXPECT_EQ(group->Add(group.as<ILayer>().get()), E_INVALIDARG) << "not itself";
    EXPECT_EQ(inner->Add(group.as<ILayer>().get()), E_INVALIDARG) << "not through a member";
    EXPECT_EQ(last_error(), L"A group layer cannot contain itself");
    EXPECT_EQ(group->Delete(plain_layer(L"X").get()), E_INVALIDARG);
    ComPtr<ILayer> none;
    EXPECT_EQ(members->get_Layer(3, none.put()), E_INVALIDARG);
    long n = 0;
    members->get_Count(&n);
    EXPECT_EQ(n, 3);
}

TEST(Map, ViewSettingsNotifyTheirOwnChanges) {
    MapWithSink m;
    ASSERT_EQ(m.map.as<IMapView>()->putref_Extent(envelope(0, 0, 10, 10).get()), S_OK);
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(m.map.as<IMapView>()->put_Window(reinterpret_cast<LONG_PTR>(w)), S_OK);
    EXPECT_EQ(m.map.as<IMapView>()->put_Window(12345), E_INVALIDARG) << "not a window";
    EXPECT_EQ(m.sink->events, (Events{L"ExtentChanged", L"FocusChanged"}));
    m.map.as<IMapView>()->put_Window(0);
    DestroyWindow(w);
}

TEST(ConnectionPoint, SinksMayUnadviseAndAdviseWhileBeingCalled) {
    auto map = create<IMap>(CLSID_Map);
    auto first = RecordingSink::create();
    auto second = RecordingSink::create();
    auto late = RecordingSink::create();
    Subscription s1(map.get(), first->unknown());
    Subscription s2(map.get(), second->unknown());
    DWORD late_cookie = 0;
    // The first sink drops the second and advises a late one during the first notification.
    first->on_event = [&](const std::wstring& e) {
        if (e != L"ItemAdded(A)") return;
        EXPECT_EQ(s2.point()->Unadvise(s2.cookie()), S_OK);
        EXPECT_EQ(s1.point()->Advise(late->unknown(), &late_cookie), S_OK);
    };
    map->AddLayer(plain_layer(L"A").get());
    EXPECT_EQ(first->events, (Events{L"ItemAdded(A)", L"ContentsChanged"}));
    EXPECT_TRUE(second->events.empty()) << "unadvised before its turn";
    EXPECT_EQ(late->events, (Events{L"ContentsChanged"})) << "advised during ItemAdded, called from the next one";
    EXPECT_EQ(s1.point()->Unadvise(late_cookie), S_OK);
    EXPECT_EQ(s1.point()->Unadvise(late_cookie), CONNECT_E_NOCONNECTION);
}

TEST(ConnectionPoint, ASinkThatUnadvisesItselfIsReleasedAfterItsCall) {
    auto map = create<IMap>(CLSID_Map);
    auto sink = RecordingSink::create();
    auto sub = std::make_unique<Subscription>(map.get(), sink->unknown());
    sink->on_event = [&](const std::wstring&) { sub.reset(); };
    map->AddLayer(plain_layer(L"A").get());
    EXPECT_EQ(sink->events, (Events{L"ItemAdded(A)"}));
    EXPECT_EQ(sink->AddRef(), 2u) << "the map holds no reference any more";
    sink->Release();
}

TEST(ConnectionPoint, TheMapStaysAliveWhileItNotifies) {
    auto map = create<IMap>(CLSID_Map);
    auto sink = RecordingSink::create();
    auto sub = std::make_unique<Subscription>(map.get(), sink->unknown());
    IMap* raw = map.detach();
    sink->on_event = [&](const std::wstring& e) {
        if (e == L"ItemAdded(A)") {
            sub.reset();
            raw->Release();  // the host lets go of the map inside the notification
        }
    };
    auto a = plain_layer(L"A");
    EXPECT_EQ(raw->AddLayer(a.get()), S_OK);
}

TEST(ConnectionPoint, ProtocolAnswers) {
    auto map = create<IMap>(CLSID_Map);
    auto container = map.as<IConnectionPointContainer>();
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, point.put()), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(container->FindConnectionPoint(__uuidof(IMapViewEvents), point.put()), S_OK);
    IID iid{};
    point->GetConnectionInterface(&iid);
    EXPECT_EQ(iid, __uuidof(IMapViewEvents));
    ComPtr<IConnectionPointContainer> back;
    point->GetConnectionPointContainer(back.put());
    EXPECT_TRUE(com::same_object(back.get(), map.get()));

    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(plain_layer(L"not a sink").get(), &cookie), CONNECT_E_CANNOTCONNECT);
    auto sink = RecordingSink::create();
    ASSERT_EQ(point->Advise(sink->unknown(), &cookie), S_OK);
    ComPtr<IEnumConnections> connections;
    ASSERT_EQ(point->EnumConnections(connections.put()), S_OK);
    CONNECTDATA data[2]{};
    ULONG fetched = 0;
    EXPECT_EQ(connections->Next(2, data, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(data[0].dwCookie, cookie);
    EXPECT_TRUE(com::same_object(data[0].pUnk, sink->unknown()));
    data[0].pUnk->Release();
    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
    IConnectionPoint* p = nullptr;
    EXPECT_EQ(points->Next(1, &p, nullptr), S_OK);
    EXPECT_EQ(p, point.get());
    p->Release();
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie + 100), CONNECT_E_NOCONNECTION);
}
