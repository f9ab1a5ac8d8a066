// What the control reported to the debugger output (the failures of its window procedures and
// notifications, which have no caller to return them to) while a DebugOutput lives: a
// vectored handler sees the exception that OutputDebugString raises to pass the text on.
#pragma once
#include <windows.h>
#include <string>

namespace test {

class DebugOutput {
public:
    DebugOutput();
    ~DebugOutput();
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;

    // The text written since the last take().
    static std::wstring take();

private:
    static LONG CALLBACK seen(EXCEPTION_POINTERS* e);
    PVOID handler_ = nullptr;
};

}  // namespace test
