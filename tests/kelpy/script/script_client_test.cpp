// Script clients, with the prefix's own programs: regsvr32 registers mapmodel.dll and kelpy.dll
// (of this program's architecture), and cscript runs the scripts beside this program with its
// VBScript and JScript engines. The scripts make map-model objects and KELPY.TOC by their
// program ids and hand maps to the control as scripts do; each line they print tells what a step
// did. The control made this way has no window: it takes its map and builds no tree.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <utility>
#include "common/registration.h"

namespace {

// The owner of a kernel handle.
class Handle {
public:
    Handle() noexcept = default;
    explicit Handle(HANDLE h) noexcept : h_(h) {}
    Handle(Handle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Handle& operator=(Handle o) noexcept {
        std::swap(h_, o.h_);
        return *this;
    }
    ~Handle() {
        if (h_) CloseHandle(h_);
    }
    HANDLE get() const noexcept { return h_; }
    HANDLE* put() noexcept {
        *this = Handle();
        return &h_;
    }

private:
    HANDLE h_ = nullptr;
};

struct Outcome {
    DWORD exit_code = DWORD(-1);
    std::string output;  // what the program wrote to its standard output and error
};

// Runs a program of the prefix with this command line and waits for it (at most a minute).
Outcome run(std::wstring command_line) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    Handle read_end, write_end;
    if (!CreatePipe(read_end.put(), write_end.put(), &inherit, 0)) return {};
    SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
    Handle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = write_end.get();
    startup.hStdError = write_end.get();
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &created))
        return {};
    Handle process(created.hProcess), thread(created.hThread);
    write_end = Handle();  // the child holds the only writing end: reading ends when it does

    Outcome r;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(read_end.get(), buffer, sizeof buffer, &n, nullptr) && n > 0) r.output.append(buffer, n);
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return r;
    }
    GetExitCodeProcess(process.get(), &r.exit_code);
    // Line ends as the script host writes them, one form for the comparisons.
    std::string text;
    for (char c : r.output)
        if (c != '\r') text += c;
    r.output = text;
    return r;
}

std::wstring quoted_beside_program(const wchar_t* file) { return L"\"" + test::program_dir() + L"\\" + file + L"\""; }

class ScriptClients : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const wchar_t* dll : {L"mapmodel.dll", L"kelpy.dll"}) {
            Outcome r = run(L"regsvr32.exe /s " + quoted_beside_program(dll));
            ASSERT_EQ(r.exit_code, 0u) << "regsvr32 " << r.output;
        }
    }
    static Outcome script(const wchar_t* file) { return run(L"cscript.exe //nologo " + quoted_beside_program(file)); }
};

// Error numbers as the scripts print them: VBScript's Err.Number, JScript's e.number in hex.
constexpr int type_mismatch = 13;

TEST_F(ScriptClients, VBScriptHandsMapsOverInVariablesAndExpressions) {
    Outcome r = script(L"maps.vbs");
    EXPECT_EQ(r.exit_code, 0u);
    const std::string mismatch = std::to_string(type_mismatch);
    EXPECT_EQ(r.output, "layers 1 first Roads same True\n"
                        "variable 0\n"
                        "value 0\n"
                        "nothing 0\n"
                        "layer " + mismatch + "\n"
                        "empty " + mismatch + "\n"
                        "map-as-layer " + mismatch + "\n"
                        "bound-map-changes 0\n"
                        "layers 2 selected-nothing True\n");
}

TEST_F(ScriptClients, JScriptHandsMapsOverAsValues) {
    Outcome r = script(L"maps.js");
    EXPECT_EQ(r.exit_code, 0u);
    // A refused argument is DISP_E_TYPEMISMATCH, which JScript may show as it is or as its own
    // "Type mismatch" (0x800A000D).
    std::string text = r.output;
    for (const char* own : {"800a000d", "80020005"}) {
        for (size_t at; (at = text.find(own)) != std::string::npos;) text.replace(at, 8, "mismatch");
    }
    EXPECT_EQ(text, "layers 1 first Roads\n"
                    "value 0\n"
                    "layer mismatch\n"
                    "map-as-layer mismatch\n"
                    "bound-map-changes 0\n"
                    "layers 2 selected-null true\n");
}

}  // namespace
