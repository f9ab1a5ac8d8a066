// The viewer program itself, started headless as scripts/run.sh starts it: it shows the sample
// map and writes a picture of its window; a document it cannot open and wrong usage are errors.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "common/registration.h"
#include "picture.h"

namespace {

DWORD run_viewer(const std::wstring& arguments) {
    std::wstring command = L"\"" + test::program_dir() + L"\\kelpy-viewer.exe\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, test::program_dir().c_str(),
                        &startup, &process))
        return 98;
    const std::unique_ptr<void, decltype(&CloseHandle)> owned_process(process.hProcess, &CloseHandle),
        owned_thread(process.hThread, &CloseHandle);
    DWORD code = 99;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    else TerminateProcess(process.hProcess, 99);
    return code;
}

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
    ASSERT_EQ(run_viewer(L"--picture \"" + picture + L"\" samples\\sample-map.json"), 0u);
    const host::Pixels shot = host::read_picture(picture);
    EXPECT_EQ(shot.width, 960);
    EXPECT_EQ(shot.height, 640);
    size_t ink = 0;
    for (DWORD px : shot.data) ink += px != 0xFFFFFF;
    EXPECT_GT(ink, 100000u);  // the frame, the tree and the map
    DeleteFileW(picture.c_str());

    EXPECT_EQ(run_viewer(L"--picture \"" + picture + L"\" \"" + temp_path(L"no-such-map.json") + L"\""), 1u);
    EXPECT_EQ(run_viewer(L"--picture"), 2u);
    EXPECT_EQ(run_viewer(L"one.json two.json"), 2u);
}

}  // namespace
