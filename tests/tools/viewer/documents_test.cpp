// Documents in the viewer: opened from the File menu, changed in the control (a check image, a
// drag) with the map pane showing each change, saved as another file and opened again from the
// recent documents; the question about unsaved changes before opening and closing; a document
// that cannot be opened.
#include "viewer_fixture.h"
#include <fstream>
#include "commands.h"
#include "map_document.h"
#include "user_input.h"

using namespace test;
using viewer::Prompts;

namespace {

TEST_F(ViewerTest, OpenChangeSaveAndOpenAgain) {
    open(sample);
    EXPECT_EQ(title(), L"sample-map.json - KELPY Viewer");
    EXPECT_EQ(status(viewer::StatusDocument), sample);
    EXPECT_EQ(status(viewer::StatusLayers), L"10 layers");
    const host::Pixels opened = shown();
    EXPECT_TRUE(same(opened, drawn()));
    EXPECT_GT(opened.width * opened.height - int(count(opened, 0xFFFFFF)), 10000) << "the map shows its layers";

    // A click on a check image: the group layer is hidden and the view shows the map without it.
    host::click(at(L"Land use", TVHT_ONITEMICON));
    EXPECT_FALSE(visible(L"Land use"));
    const host::Pixels hidden = shown();
    EXPECT_FALSE(same(hidden, opened));
    EXPECT_TRUE(same(hidden, drawn()));
    EXPECT_EQ(title(), L"sample-map.json* - KELPY Viewer");
    EXPECT_EQ(status(viewer::StatusSelected), L"Selected: Land use");

    // A drag of the raster that covers the whole map to the top of the drawing order: it hides
    // every layer below it in the view. The status bar tells of the drag while it runs.
    const POINT from = at(L"Land cover"), to = at(L"Towns");
    host::move_mouse(from);
    host::press(host::Button::Left);
    host::move_mouse({from.x + 1, from.y});
    EXPECT_EQ(status(viewer::StatusDrag), L"Dragging Land cover");
    host::move_mouse(to);
    host::release(host::Button::Left);
    EXPECT_EQ(status(viewer::StatusDrag), L"");
    EXPECT_EQ(order().rfind(L"Land cover, Towns, ", 0), 0u) << com::narrow(order());
    const host::Pixels moved = shown();
    EXPECT_FALSE(same(moved, hidden));
    EXPECT_TRUE(same(moved, drawn()));

    // Save as another file; the document is that file now, with nothing unsaved.
    const std::wstring copy = file(L"changed.json");
    prompts.save.push_back(copy);
    command(viewer::CmdSaveAs);
    EXPECT_TRUE(prompts.errors.empty()) << com::narrow(prompts.errors.front());
    EXPECT_EQ(title(), L"changed.json - KELPY Viewer");
    EXPECT_EQ(status(viewer::StatusDocument), copy);
    const std::wstring saved_order = order();

    // Opened again from the recent documents (the most recent first): the same map, drawn the same.
    ASSERT_EQ(viewer->Recent().Paths().front(), copy);
    const auto before = viewer->Map();
    command(viewer::CmdRecentFirst);
    EXPECT_NE(viewer->Map(), before);
    EXPECT_EQ(order(), saved_order);
    EXPECT_FALSE(visible(L"Land use"));
    EXPECT_TRUE(same(shown(), moved));
    EXPECT_EQ(prompts.questions, 0);
}

TEST_F(ViewerTest, UnsavedChangesAreAskedAboutBeforeOpeningAndClosing) {
    const std::wstring other = file(L"other.json");
    ASSERT_TRUE(CopyFileW(sample.c_str(), other.c_str(), FALSE));
    const std::string original = contents(sample);
    open(sample);
    host::click(at(L"Roads", TVHT_ONITEMICON));
    ASSERT_TRUE(viewer->Modified());

    // Cancel: nothing is opened, the changed map stays.
    const int dialogs = prompts.open_dialogs;
    prompts.answers.push_back(Prompts::Answer::Cancel);
    command(viewer::CmdOpen);
    EXPECT_EQ(prompts.questions, 1);
    EXPECT_EQ(prompts.open_dialogs, dialogs) << "no Open dialog after Cancel";
    EXPECT_EQ(viewer->DocumentPath(), sample);
    EXPECT_FALSE(visible(L"Roads"));

    // No: the other document opens and the changes are dropped.
    prompts.answers.push_back(Prompts::Answer::No);
    open(other);
    EXPECT_EQ(viewer->DocumentPath(), other);
    EXPECT_TRUE(visible(L"Roads"));
    EXPECT_EQ(contents(sample), original);

    // A change by key (Space on the selected layer), then Exit: Cancel keeps the window, Yes saves
    // the document and the window goes.
    host::click(at(L"Coastline"));
    host::press_key(VK_SPACE);
    ASSERT_FALSE(visible(L"Coastline"));
    prompts.answers.push_back(Prompts::Answer::Cancel);
    command(viewer::CmdExit);
    ASSERT_NE(viewer->window(), nullptr);
    prompts.answers.push_back(Prompts::Answer::Yes);
    command(viewer::CmdExit);
    EXPECT_EQ(viewer->window(), nullptr);
    EXPECT_EQ(prompts.questions, 4);
    EXPECT_FALSE(layer_visible(host::open_map(other).get(), L"Coastline"));
}

TEST_F(ViewerTest, BrokenDocumentShowsItsErrorAndKeepsTheOpenMap) {
    open(sample);
    const auto map = viewer->Map();
    const std::wstring broken = file(L"broken.json");
    std::ofstream(com::narrow(broken), std::ios::binary) << "{ \"name\": \"Half";
    open(broken);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_NE(prompts.errors[0].find(L"broken.json cannot be opened"), std::wstring::npos) << com::narrow(prompts.errors[0]);
    EXPECT_NE(prompts.errors[0].find(L":1:"), std::wstring::npos) << "says where: " << com::narrow(prompts.errors[0]);
    EXPECT_EQ(viewer->Map(), map);
    EXPECT_EQ(viewer->DocumentPath(), sample);
    EXPECT_EQ(title(), L"sample-map.json - KELPY Viewer");
    EXPECT_EQ(status(viewer::StatusLayers), L"10 layers");
    EXPECT_TRUE(same(shown(), drawn()));
    EXPECT_EQ(viewer->Recent().Paths().front(), sample);
}

}  // namespace
