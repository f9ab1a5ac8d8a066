// Geographic data in the viewer: File > Add data… on an untitled map, files dropped on the window,
// a file that cannot be read, and a layer coloured by one of its fields.
#include "viewer_fixture.h"
#include <shlobj.h>
#include <fstream>
#include "common/registration.h"
#include "commands.h"
#include "user_input.h"

using namespace test;

namespace {

std::wstring beside(const wchar_t* name) { return program_dir() + L"\\" + name; }

// Drops files on a window as the shell does: WM_DROPFILES with a DROPFILES block that lists them.
void drop(HWND window, const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& p : paths) list += p + L'\0';
    list += L'\0';
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(reinterpret_cast<BYTE*>(files) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);  // the viewer frees it
    host::pump_messages();
}

TEST_F(ViewerTest, AddedDataMakesAnUntitledMapThatAFieldColours) {
    prompts.data.push_back(beside(L"countries-110m.json"));
    command(viewer::CmdAddData);
    ASSERT_TRUE(prompts.errors.empty()) << com::narrow(prompts.errors.front());
    EXPECT_EQ(order(), L"countries, land");
    EXPECT_EQ(title(), L"Untitled* - KELPY Viewer");
    EXPECT_EQ(status(viewer::StatusLayers), L"2 layers");
    const host::Pixels plain = shown();
    EXPECT_TRUE(same(plain, drawn()));

    prompts.picks.push_back(L"Colour by field...");
    prompts.picks.push_back(L"name (a colour per value)");
    host::click(at(L"countries"), host::Button::Right);
    EXPECT_EQ(prompts.last_menu.size(), 1u) << "the fields: name";
    EXPECT_NO_THROW(item(L"countries/Fiji")) << "the legend has a row per country";
    EXPECT_NO_THROW(item(L"countries/Zimbabwe"));
    const host::Pixels coloured = shown();
    EXPECT_FALSE(same(coloured, plain));
    EXPECT_TRUE(same(coloured, drawn()));

    // Saved, the untitled map names its data beside it.
    prompts.save.push_back(file(L"world.json"));
    command(viewer::CmdSave);
    EXPECT_EQ(title(), L"world.json - KELPY Viewer");
    const std::string saved = contents(file(L"world.json"));
    EXPECT_NE(saved.find("\"source\": \""), std::string::npos) << saved.substr(0, 400);
    EXPECT_NE(saved.find("countries-110m.json\""), std::string::npos);
}

TEST_F(ViewerTest, DataThatCannotBeReadAddsNothingAndDroppedFilesAreAdded) {
    open(sample);
    const std::wstring before = order();
    const std::wstring bad = file(L"bad.geojson");
    {
        std::ofstream out(com::narrow(bad), std::ios::binary);
        out << R"({"type": "FeatureCollection", "features": [{"type": "Feature", "geometry": {"type": "Point"}}]})";
    }
    prompts.data.push_back(bad);
    command(viewer::CmdAddData);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_NE(prompts.errors[0].find(bad + L": features[0].geometry: the member \"coordinates\" is missing"), std::wstring::npos)
        << com::narrow(prompts.errors[0]);
    EXPECT_EQ(order(), before);
    EXPECT_FALSE(viewer->Modified());

    drop(viewer->window(), {beside(L"land-110m.json")});
    EXPECT_EQ(order(), L"land, " + before);
    EXPECT_EQ(status(viewer::StatusLayers), L"11 layers");
    EXPECT_NO_THROW(item(L"land"));
    EXPECT_TRUE(viewer->Modified());
}

}  // namespace
