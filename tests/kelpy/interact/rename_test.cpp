// Renaming layers in place (AllowRename): F2 or a second click on the selected layer's label
// opens the tree's label edit, Enter writes the name through the layer after the host heard of it
// (OnLayerRenaming, on __TOC2), and every other way out writes nothing.
#include "com/bstr.h"
#include "kelpy/common/debug_output.h"
#include "kelpy/common/faulty_layer.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/interact/interact_fixture.h"

using namespace test;

namespace {

class Rename : public Interaction {
protected:
    void SetUp() override {
        Interaction::SetUp();
        ASSERT_EQ(toc.as<_TOC2>()->put_AllowRename(VARIANT_TRUE), S_OK);
        renaming = RecordingSink::make();
        renaming_connection = std::make_unique<EventConnection>(toc->unknown(), renaming.get(), DIID___TOC2);
    }
    void TearDown() override {
        renaming_connection.reset();
        Interaction::TearDown();
    }

    // Selects an item as a person does (a click on its label), which gives the tree the focus; a
    // selected item is not clicked again (that would edit it).
    void select(std::wstring_view text) {
        if (selected_text() == text) SetFocus(tree());
        else host::click(at(text));
        ASSERT_EQ(selected_text(), std::wstring(text));
        sink->events.clear();
    }
    HWND edit() const { return reinterpret_cast<HWND>(SendMessageW(tree(), TVM_GETEDITCONTROL, 0, 0)); }
    // F2 on the item, then the text typed into its label and the key that ends the edit.
    void rename(std::wstring_view item, std::wstring_view text, WORD end = VK_RETURN) {
        select(item);
        host::press_key(VK_F2);
        ASSERT_NE(edit(), nullptr) << "no edit";
        host::type_text(text);
        host::press_key(end);
    }
    // A second click on the selected item's label, after the double-click time, and the wait for
    // the tree's edit to open.
    void click_again(std::wstring_view item) {
        host::pump_messages(GetDoubleClickTime() + 50);
        host::click(at(item));
        host::pump_messages(GetDoubleClickTime() + 300);
    }
    std::wstring name_of(const com::ComPtr<ILayer>& l) const {
        com::Bstr name;
        com::check(l->get_Name(name.put()));
        return name.str();
    }

    com::ComPtr<RecordingSink> renaming;
    std::unique_ptr<EventConnection> renaming_connection;
};

TEST_F(Rename, EnterWritesTheNameTheItemShowsItAndKeepsItsPlace) {
    const auto roads = layer(L"Roads");
    kelpy::NodePtr before = item(L"Roads");
    before->Expanded(false);
    toc->builder().RememberExpanded(before);
    rename(L"Roads", L"Streets 2");
    EXPECT_EQ(edit(), nullptr);
    EXPECT_EQ(name_of(roads), L"Streets 2");
    EXPECT_EQ(before->Text(), L"Streets 2");
    EXPECT_EQ(selected_text(), L"Streets 2");
    ASSERT_EQ(renaming->count(OnLayerRenaming), 1u);
    EXPECT_EQ(renaming->events[0].text, L"Streets 2");
    EXPECT_TRUE(com::same_object(renaming->events[0].object.get(), roads.get()));
    EXPECT_TRUE(sink->events.empty());  // the map's picture does not change
    com::ComPtr<ILayer> selected;
    ASSERT_EQ(toc->get_SelectedLayer(selected.put()), S_OK);
    EXPECT_TRUE(com::same_object(selected.get(), roads.get()));
    // The item keeps its collapsed state under its new name, also after a rebuild.
    ASSERT_EQ(toc->Reset(), S_OK);
    EXPECT_FALSE(item(L"Streets 2")->Expanded());
    EXPECT_TRUE(item(L"Towns")->Expanded());
}

TEST_F(Rename, OnlyTheSelectedLayerOrGroupIsEditedAndOnlyWhileRenamingIsOn) {
    select(L"Land use");
    click_again(L"Land use");  // the tree's own second click
    ASSERT_NE(edit(), nullptr);
    host::press_key(VK_ESCAPE);
    for (const wchar_t* other : {L"Sample", L"Major"}) {  // the root, a legend row
        select(other);
        host::press_key(VK_F2);
        EXPECT_EQ(edit(), nullptr) << com::narrow(other);
    }
    click_again(L"Major");
    EXPECT_EQ(edit(), nullptr);

    ASSERT_EQ(toc.as<_TOC2>()->put_AllowRename(VARIANT_FALSE), S_OK);
    select(L"Roads");
    host::press_key(VK_F2);
    EXPECT_EQ(edit(), nullptr);
    click_again(L"Roads");
    EXPECT_EQ(edit(), nullptr);
    EXPECT_EQ(renaming->count(OnLayerRenaming), 0u);
}

TEST_F(Rename, EscapeOrAClickElsewhereWritesNothing) {
    rename(L"Roads", L"Streets", VK_ESCAPE);
    EXPECT_EQ(edit(), nullptr);
    select(L"Roads");
    host::press_key(VK_F2);
    host::type_text(L"Streets");
    host::click(at(L"Towns"));
    EXPECT_EQ(edit(), nullptr);
    EXPECT_EQ(name_of(layer(L"Roads")), L"Roads");
    EXPECT_NE(item_named(nodes(), L"Roads"), nullptr);
    EXPECT_EQ(renaming->count(OnLayerRenaming), 0u);
}

TEST_F(Rename, TheHostMayChangeTheNameOrCancel) {
    const auto roads = layer(L"Roads");
    renaming->newText = L"Main roads";
    rename(L"Roads", L"Streets");
    EXPECT_EQ(name_of(roads), L"Main roads");
    EXPECT_EQ(selected_text(), L"Main roads");
    renaming->newText.reset();
    renaming->setCancel = true;
    rename(L"Main roads", L"Lanes");
    EXPECT_EQ(name_of(roads), L"Main roads");
    EXPECT_EQ(selected_text(), L"Main roads");
    EXPECT_EQ(renaming->count(OnLayerRenaming), 2u);
}

TEST_F(Rename, ABlankNameIsRefused) {
    const auto roads = layer(L"Roads");
    rename(L"Roads", L"   ");
    EXPECT_EQ(renaming->count(OnLayerRenaming), 0u);  // the host never hears of it
    renaming->newText = L" ";
    rename(L"Roads", L"Streets");  // nor is a blank name that the host leaves written
    EXPECT_EQ(renaming->count(OnLayerRenaming), 1u);
    EXPECT_EQ(name_of(roads), L"Roads");
    EXPECT_EQ(selected_text(), L"Roads");
}

TEST_F(Rename, ALayerThatRefusesTheNameKeepsItsOwnAndTheFailureIsReported) {
    auto broken = FaultyLayer::create(L"Broken", 0);
    const com::ComPtr<ILayer> broken_layer(broken.get());
    auto m = make_map(L"Faults", {broken_layer});
    bind(m.get());
    DebugOutput output;
    select(L"Broken");
    host::press_key(VK_F2);
    host::type_text(L"Mended");
    DebugOutput::take();
    broken->fail_in(1);  // the name written
    host::press_key(VK_RETURN);
    EXPECT_NE(DebugOutput::take().find(L"failed on purpose"), std::wstring::npos);
    EXPECT_EQ(renaming->count(OnLayerRenaming), 1u);
    EXPECT_EQ(name_of(broken_layer), L"Broken");
    EXPECT_EQ(selected_text(), L"Broken");
}

}  // namespace
