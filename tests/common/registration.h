// Registers one of our libraries (built beside the test program) in the test prefix, once per
// process, through its own DllRegisterServer, exactly as regsvr32 would.
#pragma once
#include <windows.h>
#include <string>

namespace test {

// The directory of the running test program (where the libraries are built).
std::wstring program_dir();
// Loads <dir>\<dll> and calls its DllRegisterServer; fails the calling test on error.
// Returns the module handle (kept loaded for the process).
HMODULE register_library(const wchar_t* dll);

}  // namespace test
