// The control's events reach the container's sink through the connection point for __TOC (and
// those of __TOC2 also through the object _TOC3.Events answers): every argument by reference,
// the sink's `cancel` read back, nothing while events are frozen.
#include <gtest/gtest.h>
#include "kelpy/control/container_fixture.h"
#include "kelpy/common/map_builder.h"

namespace {

struct Events : ::testing::Test {
    com::ComPtr<kelpy::Toc> toc = test::new_control();
    host::ControlHost host{toc.get()->unknown(), host::HostOptions{}};
    com::ComPtr<test::RecordingSink> sink = test::RecordingSink::create();
};

TEST_F(Events, CancelSetByTheSinkIsReadBack) {
    test::EventConnection connection(toc.get()->unknown(), sink.get());
    bool cancel = false;
    toc->events().RaiseOnBeforeRefreshMap(cancel);
    EXPECT_FALSE(cancel);  // the sink left it alone
    sink->setCancel = true;
    toc->events().RaiseOnBeforeRefreshMap(cancel);
    EXPECT_TRUE(cancel);
    ASSERT_EQ(sink->events.size(), 2u);
    EXPECT_EQ(sink->events[0].id, 4);
    EXPECT_EQ(sink->events[0].types, (std::vector<VARTYPE>{VT_BOOL | VT_BYREF}));
}

TEST_F(Events, EveryArgumentGoesByReference) {
    test::EventConnection connection(toc.get()->unknown(), sink.get());
    sink->setCancel = true;
    ::TOCNodeType type = ::TOCNodeType::GroupLayer;
    toc->events().RaiseOnContextMenu(type);
    com::ComPtr<ILayer> layer = test::feature_layer(L"Towns");
    bool cancel = false;
    toc->events().RaiseOnDragLayer(cancel, layer);
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(layer);  // the sink did not replace the layer

    ASSERT_EQ(sink->events.size(), 2u);
    EXPECT_EQ(sink->events[0].id, 1);
    EXPECT_EQ(sink->events[0].types, (std::vector<VARTYPE>{VT_I4 | VT_BYREF}));
    EXPECT_EQ(sink->events[0].contextMenuType, LONG(::TOCNodeType::GroupLayer));
    EXPECT_EQ(sink->events[1].id, 3);
    EXPECT_EQ(sink->events[1].types, (std::vector<VARTYPE>{VT_BOOL | VT_BYREF, VT_DISPATCH | VT_BYREF}));
    EXPECT_TRUE(sink->events[1].hadObject);
}

TEST_F(Events, EverySinkHearsAndAnUnadvisedOneDoesNot) {
    auto second = test::RecordingSink::create();
    test::EventConnection first(toc.get()->unknown(), sink.get());
    {
        test::EventConnection other(toc.get()->unknown(), second.get());
        bool cancel = false;
        toc->events().RaiseOnBeforeRefreshMap(cancel);
    }
    bool cancel = false;
    toc->events().RaiseOnBeforeRefreshMap(cancel);
    EXPECT_EQ(sink->events.size(), 2u);
    EXPECT_EQ(second->events.size(), 1u);
}

TEST_F(Events, FrozenEventsReachNoSink) {
    test::EventConnection connection(toc.get()->unknown(), sink.get());
    sink->setCancel = true;
    auto control = com::ComPtr<IUnknown>(toc.get()->unknown()).as<IOleControl>();
    ASSERT_EQ(control->FreezeEvents(TRUE), S_OK);
    bool cancel = false;
    toc->events().RaiseOnBeforeRefreshMap(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(sink->events.empty());
    control->FreezeEvents(FALSE);
    toc->events().RaiseOnBeforeRefreshMap(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(sink->events.size(), 1u);
}

// _TOC3.Events: one object per control whose default source is __TOC2, as a form host reads it
// (IProvideClassInfo2), raising every event of __TOC2 to its sinks as the control raises them to
// its own, and nothing of __TOC.
TEST_F(Events, TheEventsObjectRaisesTheSecondSourceToItsSinks) {
    auto toc3 = com::ComPtr<IUnknown>(toc.get()->unknown()).as<_TOC3>();
    com::ComPtr<_TOCEvents> object, again;
    ASSERT_EQ(toc3->get_Events(object.put()), S_OK);
    ASSERT_EQ(toc3->get_Events(again.put()), S_OK);
    EXPECT_EQ(object, again);
    auto info = object.as<IProvideClassInfo2>();
    GUID source{};
    ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_EQ(source, DIID___TOC2);
    com::ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(info->GetClassInfo(coclass.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, CLSID_TOCEvents);
    coclass->ReleaseTypeAttr(attr);

    test::EventConnection on_object(object.get(), sink.get(), DIID___TOC2);
    auto own = test::RecordingSink::create();
    test::EventConnection on_control(toc.get()->unknown(), own.get(), DIID___TOC2);
    sink->newText = L"Harbour";
    com::ComPtr<ILayer> layer = test::feature_layer(L"Towns");
    std::wstring name = L"Port";
    bool cancel = false;
    toc->events().RaiseOnLayerRenaming(layer, name, cancel);
    EXPECT_EQ(name, L"Harbour");  // what the object's sink left comes back
    toc->events().RaiseOnActionFailed(L"move", com::ComError(com::CTL_E_OBJECTNOTSET, L"", L"No map"));
    toc->events().RaiseOnBeforeRefreshMap(cancel);  // of __TOC: not the object's
    for (const auto* s : {sink.get(), own.get()}) {
        ASSERT_EQ(s->events.size(), 2u);
        EXPECT_EQ(s->events[0].id, test::OnLayerRenaming);
        EXPECT_EQ(s->events[1].id, test::OnActionFailed);
        EXPECT_EQ(s->events[1].types, (std::vector<VARTYPE>{VT_BSTR | VT_BYREF, VT_I4 | VT_BYREF, VT_BSTR | VT_BYREF}));
        EXPECT_EQ(s->events[1].texts, (std::vector<std::wstring>{L"move", L"No map"}));
        EXPECT_EQ(s->events[1].contextMenuType, 91);
    }

    // While the container freezes the control's events, the object's sinks hear nothing either.
    auto control = com::ComPtr<IUnknown>(toc.get()->unknown()).as<IOleControl>();
    ASSERT_EQ(control->FreezeEvents(TRUE), S_OK);
    toc->events().RaiseOnLayerRenaming(layer, name, cancel);
    control->FreezeEvents(FALSE);
    EXPECT_EQ(sink->events.size(), 2u);
}

TEST_F(Events, ContainerFindsTheEventInterface) {
    auto info = com::ComPtr<IUnknown>(toc.get()->unknown()).as<IProvideClassInfo2>();
    GUID events{};
    ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_EQ(events, DIID___TOC);
    com::ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(info->GetClassInfo(coclass.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, CLSID_TOC);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    coclass->ReleaseTypeAttr(attr);

    auto points = com::ComPtr<IUnknown>(toc.get()->unknown()).as<IConnectionPointContainer>();
    com::ComPtr<IConnectionPoint> none;
    EXPECT_EQ(points->FindConnectionPoint(IID_IPropertyNotifySink, none.put()), CONNECT_E_NOCONNECTION);
    // A sink that is not an event sink of the control is refused.
    com::ComPtr<IConnectionPoint> point;
    ASSERT_EQ(points->FindConnectionPoint(DIID___TOC, point.put()), S_OK);
    DWORD cookie = 0;
    auto site = host::ControlSite::create(nullptr, std::nullopt);
    EXPECT_EQ(point->Advise(static_cast<IOleClientSite*>(site.get()), &cookie), CONNECT_E_CANNOTCONNECT);
}

}  // namespace
