// The snapshot tool, run as the main job runs it: on the sample map, and on documents that are
// missing or broken.
#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include "common/process.h"
#include "common/registration.h"
#include "picture.h"

namespace {

using test::Finished;
using test::run_program;

Finished run_snapshot(const std::wstring& arguments) { return run_program(L"snapshot.exe", arguments); }

std::wstring temp_path(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

std::string narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

TEST(Snapshot, SampleMapTreeAndPicture) {
    const std::wstring picture = temp_path(L"kelpy-snapshot-test.png");
    DeleteFileW(picture.c_str());
    const Finished run = run_snapshot(L"--width 300 --height 420 --out \"" + picture + L"\"");
    ASSERT_EQ(run.exit_code, 0u) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    // The tree as its window shows it: texts, images, bold and expanded states.
    EXPECT_NE(run.out.find("\nKelp Bay [root] bold expanded\n  Towns [checked] expanded\n    POPULATION\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\n  Survey sites [disconnected] expanded\n    (no text)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n  Notes [checked]\n(no text)\nlayers: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("picture: " + narrow(picture)), std::string::npos) << run.out;

    const host::Pixels shot = host::read_picture(picture);
    EXPECT_EQ(shot.width, 300);
    EXPECT_EQ(shot.height, 420);
    int ink = 0;
    for (DWORD px : shot.data) ink += px != 0xFFFFFF;
    EXPECT_GT(ink, 1000);  // the tree with its pictures and legends
    DeleteFileW(picture.c_str());
}

TEST(Snapshot, ActionsArePerformedWithTheMouseStepByStep) {
    const std::wstring picture = temp_path(L"kelpy-steps.png");
    const Finished run = run_snapshot(L"--out \"" + picture +
                                      L"\" --do \"click-check Roads\" --do \"drag Towns 'Land use/Parks'\"");
    ASSERT_EQ(run.exit_code, 0u) << run.err;
    const size_t step1 = run.out.find("\nstep 1: click-check Roads\n"), step2 = run.out.find("\nstep 2: drag");
    ASSERT_NE(step1, std::string::npos) << run.out;
    ASSERT_NE(step2, std::string::npos) << run.out;
    EXPECT_LT(run.out.find("\n  Roads [unchecked] expanded\n", step1), step2) << run.out;
    EXPECT_NE(run.out.find("layers: Survey sites, Roads, Coastline, Land use [Parks, Districts, Households, Towns],", step2),
              std::string::npos)
        << run.out;
    for (const wchar_t* step : {L"kelpy-steps-1.png", L"kelpy-steps-2.png"}) {
        EXPECT_EQ(host::read_picture(temp_path(step)).width, 320);
        DeleteFileW(temp_path(step).c_str());
    }
    DeleteFileW(picture.c_str());

    // The pointer leaves the tool's window for a corner where no test has one.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);

    const Finished unknown = run_snapshot(L"--out nothing.png --do \"click-check Nowhere\"");
    EXPECT_EQ(unknown.exit_code, 1u);
    EXPECT_NE(unknown.err.find("The tree shows no item \"Nowhere\""), std::string::npos) << unknown.err;
}

TEST(Snapshot, MissingDocumentIsAClearError) {
    const Finished run = run_snapshot(L"--out nothing.png \"" + temp_path(L"no-such-map.json") + L"\"");
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_NE(run.err.find("There is no map document"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

TEST(Snapshot, BrokenDocumentsAreClearErrors) {
    const std::wstring document = temp_path(L"kelpy-broken-map.json");
    for (const char* content : {"{ \"name\": \"Half", "[1, 2, 3]", ""}) {
        std::ofstream(narrow(document), std::ios::binary) << content;
        const Finished run = run_snapshot(L"--out nothing.png \"" + document + L"\"");
        EXPECT_EQ(run.exit_code, 1u) << content;
        EXPECT_NE(run.err.find("cannot be opened"), std::string::npos) << content << ": " << run.err;
    }
    DeleteFileW(document.c_str());
}

TEST(Snapshot, WrongUsage) {
    for (const wchar_t* arguments : {L"--width", L"--height 5", L"--colour red", L"a.json b.json",
                                     L"--do \"pick-symbol Parks orange\"", L"--do \"drag Towns\""}) {
        const Finished run = run_snapshot(arguments);
        EXPECT_EQ(run.exit_code, 2u) << narrow(arguments);
        EXPECT_NE(run.err.find("usage: snapshot"), std::string::npos);
    }
}

}  // namespace
