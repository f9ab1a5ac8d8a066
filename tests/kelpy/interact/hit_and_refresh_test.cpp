// Hit testing (points of the tree to items and the parts of them); the map's refresh and a
// layer's top-level index.
#include "kelpy/interact/interact_fixture.h"
#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/common/map_builder.h"

using namespace test;

namespace {

TEST_F(Interaction, HitTestNamesTheItemAndThePartOrNothing) {
    auto hit_at = [&](POINT screen) {
        ScreenToClient(tree(), &screen);
        return toc->interaction().HitTest(screen.x, screen.y);
    };
    auto label = hit_at(at(L"Roads", TVHT_ONITEMLABEL));
    EXPECT_EQ(kelpy::platform::Node::From(label->Node.get()), item(L"Roads"));
    EXPECT_EQ(label->TreeviewHitTest, ::TreeviewHitTestCode::ONITEMLABEL);
    EXPECT_EQ(hit_at(at(L"Roads", TVHT_ONITEMICON))->TreeviewHitTest, ::TreeviewHitTestCode::ONITEMICON);

    // Below the last item, left of and above the client area: no item and no code, whatever the
    // tree reports there.
    bind(make_map(L"Small", {feature_layer(L"One")}).get());
    for (POINT p : {POINT{10, 200}, POINT{-5, 10}, POINT{10, -5}}) {
        auto nothing = toc->interaction().HitTest(p.x, p.y);
        EXPECT_FALSE(nothing->Node) << p.x << "," << p.y;
        EXPECT_EQ(LONG(nothing->TreeviewHitTest), -1) << p.x << "," << p.y;
    }
}

// ItemAt, as a host asks it: points of the control's client area to the kind of item, the part
// of its row, its layer, its class and its text.
TEST_F(Interaction, ItemAtTellsTheKindAndPartOfEveryRow) {
    auto options = toc.as<_TOC2>();
    auto item_at = [&](POINT screen) {
        ScreenToClient(toc->hWnd(), &screen);
        com::ComPtr<_TOCItemInfo> info;
        EXPECT_EQ(options->ItemAt(screen.x, screen.y, info.put()), S_OK);
        return com::ComPtr<kelpy::TocItemInfo>(static_cast<kelpy::TocItemInfo*>(info.get()));
    };
    struct Case {
        POINT at;
        ::TOCItemKind kind;
        ::TOCItemPart part;
        const wchar_t* layer;
        LONG classIndex;
        const wchar_t* text;
    };
    using K = ::TOCItemKind;
    using P = ::TOCItemPart;
    const Case cases[] = {
        {at(L"Sample"), K::ItemRoot, P::PartLabel, nullptr, -1, L"Sample"},
        {at(L"Roads", TVHT_ONITEMICON), K::ItemLayer, P::PartCheck, L"Roads", -1, L"Roads"},
        {at(L"Roads", TVHT_ONITEMLABEL), K::ItemLayer, P::PartLabel, L"Roads", -1, L"Roads"},
        {at(L"Roads", TVHT_ONITEMRIGHT), K::ItemLayer, P::PartRight, L"Roads", -1, L"Roads"},
        {at(L"Roads", TVHT_ONITEMINDENT), K::ItemLayer, P::PartIndent, L"Roads", -1, L"Roads"},
        {at(L"Land use", TVHT_ONITEMICON), K::ItemGroupLayer, P::PartCheck, L"Land use", -1, L"Land use"},
        {at(L"LANES"), K::ItemLegendHeading, P::PartLabel, L"Roads", -1, L"LANES"},
        {at(L"Major", TVHT_ONITEMICON), K::ItemLegendClass, P::PartSwatch, L"Roads", 1, L"Major"},
        {at(L"Garden"), K::ItemLegendClass, P::PartLabel, L"Parks", 1, L"Garden"},
        {at(item(L"Towns")->Child(), TVHT_ONITEMICON), K::ItemLayerSymbol, P::PartSwatch, L"Towns", -1, L""},
        {at(nodes().Item(L"holder"), TVHT_ONITEMRIGHT), K::ItemHolder, P::PartRight, nullptr, -1, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(com::narrow(c.text) + " " + std::to_string(int(c.part)));
        auto info = item_at(c.at);
        EXPECT_EQ(info->Kind, c.kind);
        EXPECT_EQ(info->Part, c.part);
        if (c.layer) EXPECT_TRUE(com::same_object(info->Layer.get(), layer(c.layer).get()));
        else EXPECT_FALSE(info->Layer);
        EXPECT_EQ(info->ClassIndex, c.classIndex);
        EXPECT_EQ(info->Text, c.text);
    }
    // Below the last row: nothing.
    bind(make_map(L"Small", {feature_layer(L"One")}).get());
    com::ComPtr<_TOCItemInfo> none;
    ASSERT_EQ(options->ItemAt(10, 500, none.put()), S_OK);
    ::TOCItemKind kind = ::TOCItemKind::ItemRoot;
    none->get_Kind(&kind);
    EXPECT_EQ(kind, ::TOCItemKind::ItemNone);
}

TEST_F(Interaction, RefreshMapRedrawsTheSelectedLayerOrEverythingUnlessTheHostCancels) {
    toc->interaction().RefreshMap();
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_FALSE(refreshes[0].data);  // no layer selected yet: the whole view

    host::click(at(L"Slope", TVHT_ONITEMLABEL), host::Button::Right);  // any button's press selects
    toc->interaction().RefreshMap();
    ASSERT_EQ(refreshes.size(), 2u);
    EXPECT_EQ(refreshes[1].phase, DrawPhaseGeography);
    EXPECT_TRUE(com::same_object(refreshes[1].data.get(), layer(L"Slope").get()));

    sink->cancelEvents = {OnBeforeRefreshMap};
    toc->interaction().RefreshMap();
    EXPECT_EQ(refreshes.size(), 2u);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 3u);
}

TEST_F(Interaction, GetLayerIndexFindsTopLevelLayersByIdentity) {
    EXPECT_EQ(toc->interaction().GetLayerIndex(layer(L"Towns")), 0);
    EXPECT_EQ(toc->interaction().GetLayerIndex(layer(L"Slope")), 6);
    EXPECT_EQ(toc->interaction().GetLayerIndex(layer(L"Parks")), -1);  // inside a group
    ASSERT_EQ(map->DeleteLayer(layer(L"Photo").get()), S_OK);
    EXPECT_EQ(toc->interaction().GetLayerIndex(layer(L"Photo")), -1);
}

}  // namespace
