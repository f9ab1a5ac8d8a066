// The tree's items: adding, finding, changing, removing.
#include <gtest/gtest.h>
#include "com/error.h"
#include "tree_reader.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/tree_host.h"

using namespace test;
using host::NativeItem;
using host::item_rect;
using host::read_item;
using host::read_items;
using host::selected_item;
using kelpy::platform::NodePtr;
using kelpy::platform::Node;
using kelpy::platform::Relationship;

namespace {

HRESULT error_of(const std::function<void()>& use) {
    try {
        use();
    } catch (const com::ComError& e) {
        return e.hr();
    }
    return S_OK;
}

class Nodes : public ::testing::Test {
protected:
    TreeHost host;
    kelpy::platform::NodeCollection& nodes() { return host.nodes(); }
    NodePtr add(std::wstring_view relative, std::wstring_view key, std::wstring_view text) {
        return nodes().Add({.relative = relative, .relationship = Relationship::Child, .key = key, .text = text,
                            .image = L"a", .selected_image = L"b"});
    }
};

TEST_F(Nodes, ItemsAreNumberedInTheOrderOfAddingAndFoundByKey) {
    NodePtr root = nodes().Add({.key = L"root", .text = L"Root"});
    NodePtr second = add(L"root", L"s", L"Second");
    NodePtr child = add(L"s", L"c", L"Child");
    NodePtr third = add(L"root", L"", L"Third");
    NodePtr top = nodes().Add({.text = L"Top"});

    ASSERT_EQ(nodes().Count(), 5);
    for (long k = 1; k <= 5; ++k) EXPECT_EQ(nodes().Item(k)->Index(), k);
    EXPECT_EQ(nodes().Item(3), child);
    EXPECT_EQ(nodes().Item(L"s"), second);
    EXPECT_EQ(third->Key(), L"");
    EXPECT_EQ(root->Children(), 2);
    EXPECT_EQ(root->Child(), second);
    EXPECT_EQ(child->Parent(), second);
    EXPECT_FALSE(top->Parent());
    EXPECT_FALSE(child->Child());
    // The native tree has the same items in the same places.
    std::vector<std::wstring> lines;
    for (const NativeItem& n : read_items(host.window())) lines.push_back(std::wstring(size_t(n.depth), L'.') + n.text);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Root", L".Second", L"..Child", L".Third", L"Top"}));
    EXPECT_EQ(nodes().FromHandle(child->handle()), child);
    EXPECT_FALSE(nodes().FromHandle(nullptr));
}

TEST_F(Nodes, OmittedArgumentsGiveATopLevelItemWithoutKeyTextOrImage) {
    NodePtr n = nodes().Add({});
    NativeItem native = read_item(host.window(), n->handle());
    EXPECT_EQ(native.parent, nullptr);
    EXPECT_EQ(native.text, L"");
    EXPECT_EQ(native.image, I_IMAGENONE);
    EXPECT_EQ(native.selected_image, I_IMAGENONE);
    EXPECT_EQ(n->Image(), L"");
}

TEST_F(Nodes, BadArgumentsAreClearErrorsAndAddNothing) {
    add(L"", L"k", L"K");
    EXPECT_EQ(error_of([&] { add(L"", L"k", L"Again"); }), com::CTL_E_KEYNOTUNIQUE);
    EXPECT_EQ(error_of([&] { add(L"missing", L"x", L"X"); }), com::CTL_E_ELEMENTNOTFOUND);
    EXPECT_EQ(error_of([&] { nodes().Add({.text = L"X", .image = L"nope"}); }), com::CTL_E_ELEMENTNOTFOUND);
    EXPECT_EQ(error_of([&] { nodes().Add({.relative = L"k", .relationship = Relationship::Next}); }),
              CTL_E_ILLEGALFUNCTIONCALL);
    EXPECT_EQ(nodes().Count(), 1);
    EXPECT_EQ(read_items(host.window()).size(), 1u);

    EXPECT_EQ(error_of([&] { nodes().Item(0); }), com::CTL_E_SUBSCRIPTOUTOFRANGE);
    EXPECT_EQ(error_of([&] { nodes().Item(2); }), com::CTL_E_SUBSCRIPTOUTOFRANGE);
    EXPECT_EQ(error_of([&] { nodes().Item(L"K"); }), com::CTL_E_ELEMENTNOTFOUND);  // keys are case-sensitive
}

TEST_F(Nodes, ChangesReachTheNativeItem) {
    NodePtr n = add(L"", L"k", L"Old");
    n->Text(L"New");
    n->Bold(true);
    n->Image(L"c");
    n->SelectedImage(L"a");
    NativeItem native = read_item(host.window(), n->handle());
    EXPECT_EQ(native.text, L"New");
    EXPECT_TRUE(native.bold());
    EXPECT_EQ(native.image, 2);
    EXPECT_EQ(native.selected_image, 0);
    EXPECT_EQ(n->Text(), L"New");
    EXPECT_TRUE(n->Bold());
    EXPECT_EQ(n->Image(), L"c");
    EXPECT_EQ(n->SelectedImage(), L"a");
    EXPECT_EQ(error_of([&] { n->Image(L"z"); }), com::CTL_E_ELEMENTNOTFOUND);
    EXPECT_EQ(n->Image(), L"c");
}

TEST_F(Nodes, AnExpandedStateGivenBeforeTheChildrenHoldsOnceTheyArrive) {
    NodePtr parent = add(L"", L"p", L"Parent");
    parent->Expanded(true);
    NodePtr child = add(L"p", L"c", L"Child");
    EXPECT_TRUE(read_item(host.window(), parent->handle()).expanded());
    EXPECT_TRUE(parent->Expanded());
    // The child is shown: it has a row.
    RECT row = item_rect(host.window(), child->handle(), false);
    EXPECT_GT(row.bottom, row.top);

    parent->Expanded(false);
    EXPECT_FALSE(read_item(host.window(), parent->handle()).expanded());
    EXPECT_FALSE(parent->Expanded());
    // Given at insertion, the same.
    NodePtr other = nodes().Add({.key = L"o", .text = L"Other", .look = {.expanded = true}});
    add(L"o", L"", L"Member");
    EXPECT_TRUE(read_item(host.window(), other->handle()).expanded());
}

TEST_F(Nodes, SelectingFollowsTheNativeCaret) {
    NodePtr parent = add(L"", L"p", L"Parent");
    NodePtr child = add(L"p", L"c", L"Child");
    ASSERT_FALSE(parent->Expanded());
    child->Selected(true);
    EXPECT_EQ(selected_item(host.window()), child->handle());
    EXPECT_TRUE(child->Selected());
    // The native tree showed the child by expanding its parent; the parent knows.
    EXPECT_TRUE(parent->Expanded());
    parent->Selected(false);  // not selected: nothing changes
    EXPECT_TRUE(child->Selected());
    child->Selected(false);
    EXPECT_EQ(selected_item(host.window()), nullptr);
    parent->Expanded(false);
    child->EnsureVisible();
    EXPECT_TRUE(parent->Expanded());
}

TEST_F(Nodes, ClearDetachesEveryItem) {
    NodePtr parent = add(L"", L"p", L"Parent");
    NodePtr child = add(L"p", L"c", L"Child");
    HTREEITEM old = child->handle();
    nodes().Clear();
    EXPECT_EQ(nodes().Count(), 0);
    EXPECT_TRUE(read_items(host.window()).empty());
    EXPECT_TRUE(child->removed());
    EXPECT_FALSE(nodes().FromHandle(old));
    for (auto use : std::initializer_list<std::function<void()>>{
             [&] { (void)child->Text(); }, [&] { child->Text(L"x"); }, [&] { (void)child->Expanded(); },
             [&] { child->Bold(true); }, [&] { (void)child->Selected(); }, [&] { child->EnsureVisible(); },
             [&] { (void)child->Children(); }, [&] { (void)child->Tag(); }, [&] { (void)child->handle(); }}) {
        EXPECT_EQ(error_of(use), kelpy::platform::E_NODE_REMOVED);
    }
    // The keys are free again.
    EXPECT_EQ(add(L"", L"p", L"Parent again")->Index(), 1);
}

TEST_F(Nodes, TheItemsEndWithTheWindow) {
    NodePtr n = add(L"", L"p", L"Parent");
    DestroyWindow(host.window());
    EXPECT_EQ(host.tree.hWnd(), nullptr);
    EXPECT_TRUE(n->removed());
    EXPECT_EQ(nodes().Count(), 0);
    EXPECT_EQ(error_of([&] { add(L"", L"q", L"Q"); }), E_UNEXPECTED);
}

TEST_F(Nodes, AnItemIsACountedDispatchObjectThatLeadsBackToItself) {
    NodePtr n = add(L"", L"p", L"Parent");
    com::ComPtr<IDispatch> as_dispatch = n.query<IDispatch>();
    ASSERT_TRUE(as_dispatch);
    EXPECT_EQ(Node::From(as_dispatch.get()), n);
    EXPECT_FALSE(Node::From(nullptr));
    auto record = kelpy::TocNode::create();
    EXPECT_FALSE(Node::From(record->unknown()));
    UINT count = 9;
    EXPECT_EQ(as_dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Text");
    EXPECT_EQ(as_dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), DISP_E_UNKNOWNNAME);
    // The item carries any object, and answers it back as it was given.
    n->Tag(record);
    EXPECT_EQ(n->Tag(), com::ComPtr<IDispatch>(record));
}

}  // namespace
