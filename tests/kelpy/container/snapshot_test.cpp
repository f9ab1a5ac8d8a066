// The snapshot tool, run as the main job runs it: on the sample map, and on documents that are
// missing or broken.
#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include "common/registration.h"
#include "picture.h"

namespace {

struct Finished {
    DWORD exit_code = 0;
    std::string out, err;
};

// Reads a pipe to its end on a thread of its own, so that neither pipe can fill up and stall
// the tool.
struct PipeReader {
    HANDLE pipe;
    std::string text;
    static DWORD WINAPI run(void* self) {
        auto* r = static_cast<PipeReader*>(self);
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(r->pipe, buffer, sizeof buffer, &n, nullptr) && n) r->text.append(buffer, n);
        return 0;
    }
};

Finished run_snapshot(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out_read, out_write, err_read, err_write;
    CreatePipe(&out_read, &out_write, &inherit, 0);
    CreatePipe(&err_read, &err_write, &inherit, 0);
    SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out_write;
    startup.hStdError = err_write;
    std::wstring command = L"\"" + test::program_dir() + L"\\snapshot.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    Finished result;
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        test::program_dir().c_str(), &startup, &process);
    CloseHandle(out_write);
    CloseHandle(err_write);
    PipeReader out{out_read, {}}, err{err_read, {}};
    HANDLE readers[] = {CreateThread(nullptr, 0, PipeReader::run, &out, 0, nullptr),
                        CreateThread(nullptr, 0, PipeReader::run, &err, 0, nullptr)};
    if (started) {
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
        GetExitCodeProcess(process.hProcess, &result.exit_code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    } else {
        result.exit_code = 98;
    }
    WaitForMultipleObjects(2, readers, TRUE, 10000);
    CloseHandle(readers[0]);
    CloseHandle(readers[1]);
    CloseHandle(out_read);
    CloseHandle(err_read);
    // The tool writes text lines (CR LF); the checks read them as LF.
    for (auto [from, to] : {std::pair{&out.text, &result.out}, std::pair{&err.text, &result.err}})
        for (char c : *from)
            if (c != '\r') to->push_back(c);
    return result;
}

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
    EXPECT_NE(run.out.find("\nKelp Bay  [key root, image root, Root, expanded]\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n  Towns  [key l"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(", image disconnected, Layer"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  [key holder, image -, Holder, collapsed]\n"), std::string::npos) << run.out;
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
    EXPECT_NE(run.out.find("  Roads  [key l", step1), std::string::npos);
    EXPECT_LT(run.out.find(", image unchecked, Layer", step1), step2) << run.out;
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
