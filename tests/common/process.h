// Running one of the programs built beside the test program, as a user runs it: in its own
// process, with its output and errors captured.
#pragma once
#include <windows.h>
#include <string>

namespace test {

struct Finished {
    DWORD exit_code = 0;  // 98: it did not start; 99: it was stopped after 30 seconds
    std::string out, err;  // line ends as LF
};

// Runs <program dir>\<program> with the arguments (a command line's text) in the program
// directory and waits for it, at most 30 seconds.
Finished run_program(const std::wstring& program, const std::wstring& arguments);
// The same for a whole command line, whose program is found as CreateProcess finds it (a program
// of the system, such as regsvr32.exe or cscript.exe).
Finished run_command(std::wstring command_line);

}  // namespace test
