// The viewer program itself, started headless as scripts/run.sh starts it: it shows the sample
// map and writes a picture of its window; a document it cannot open and wrong usage are errors.
#include <gtest/gtest.h>
#include <string>
#include "common/process.h"
#include "common/registration.h"
#include "picture.h"

namespace {

std::wstring temp_path(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

TEST(ViewerProgram, StartsWithADocumentAndPicturesItsWindow) {
    test::register_library(L"mapmodel.dll");
    test::register_library(L"kelpy.dll");
    const std::wstring picture = temp_path(L"kelpy-viewer-test.png");
    DeleteFileW(picture.c_str());
    const auto run = test::run_program(L"kelpy-viewer.exe", L"--picture \"" + picture + L"\" samples\\sample-map.json");
    ASSERT_EQ(run.exit_code, 0u) << run.err;
    EXPECT_NE(run.out.find("(960 x 640 pixels)"), std::string::npos) << run.out;
    const host::Pixels shot = host::read_picture(picture);
    EXPECT_EQ(shot.width, 960);
    EXPECT_EQ(shot.height, 640);
    size_t ink = 0;
    for (DWORD px : shot.data) ink += px != 0xFFFFFF;
    EXPECT_GT(ink, 100000u);  // the frame, the tree and the map
    DeleteFileW(picture.c_str());

    const auto missing = test::run_program(L"kelpy-viewer.exe", L"--picture \"" + picture + L"\" no-such-map.json");
    EXPECT_EQ(missing.exit_code, 1u);
    EXPECT_NE(missing.err.find("There is no map document"), std::string::npos) << missing.err;
    for (const wchar_t* wrong : {L"--picture", L"one.json two.json", L"--colour red"}) {
        const auto usage = test::run_program(L"kelpy-viewer.exe", wrong);
        EXPECT_EQ(usage.exit_code, 2u);
        EXPECT_NE(usage.err.find("usage: kelpy-viewer"), std::string::npos) << usage.err;
    }
}

}  // namespace
