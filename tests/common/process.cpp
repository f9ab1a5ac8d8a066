#include "common/process.h"
#include "common/registration.h"

namespace test {

namespace {

// Reads a pipe to its end on a thread of its own, so that neither pipe can fill up and stall
// the program.
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

}  // namespace

Finished run_program(const std::wstring& program, const std::wstring& arguments) {
    return run_command(L"\"" + program_dir() + L"\\" + program + L"\" " + arguments);
}

Finished run_command(std::wstring command) {
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
    PROCESS_INFORMATION process{};
    Finished result;
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        program_dir().c_str(), &startup, &process);
    const DWORD start_error = started ? 0 : GetLastError();
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
    // Programs write text lines (CR LF); the checks read them as LF.
    for (auto [from, to] : {std::pair{&out.text, &result.out}, std::pair{&err.text, &result.err}})
        for (char c : *from)
            if (c != '\r') to->push_back(c);
    if (!started) result.err += "CreateProcess failed with error " + std::to_string(start_error) + "\n";
    return result;
}

}  // namespace test
