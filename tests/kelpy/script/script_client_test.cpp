// Script clients, with the prefix's own programs: regsvr32 registers mapmodel.dll and kelpy.dll
// (of this program's architecture), and cscript runs the scripts beside this program with its
// VBScript and JScript engines. The scripts make map-model objects and KELPY.TOC by their
// program ids and hand maps to the control as scripts do; each line they print tells what a step
// did. The control made this way has no window: it takes its map and builds no tree.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "common/process.h"
#include "common/registration.h"

namespace {

std::wstring quoted_beside_program(const wchar_t* file) { return L"\"" + test::program_dir() + L"\\" + file + L"\""; }

class ScriptClients : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const wchar_t* dll : {L"mapmodel.dll", L"kelpy.dll"}) {
            test::Finished r = test::run_command(L"regsvr32.exe /s " + quoted_beside_program(dll));
            ASSERT_EQ(r.exit_code, 0u) << "regsvr32 " << r.out << r.err;
        }
    }
    static test::Finished script(const wchar_t* file) {
        return test::run_command(L"cscript.exe //nologo " + quoted_beside_program(file));
    }
};

// Error numbers as the scripts print them: VBScript's Err.Number, JScript's e.number in hex.
constexpr int type_mismatch = 13;

TEST_F(ScriptClients, VBScriptHandsMapsOverInVariablesAndExpressions) {
    test::Finished r = script(L"maps.vbs");
    EXPECT_EQ(r.exit_code, 0u) << r.err;
    const std::string mismatch = std::to_string(type_mismatch);
    EXPECT_EQ(r.out, "layers 1 first Roads same True\n"
                     "variable 0\n"
                     "value 0\n"
                     "nothing 0\n"
                     "layer " + mismatch + "\n"
                     "empty " + mismatch + "\n"
                     "map-as-layer " + mismatch + "\n"
                     "bound-map-changes 0\n"
                     "layers 2 selected-nothing True\n"
                     "options False True False item 0\n"
                     "events _TOCEvents same True\n");
}

TEST_F(ScriptClients, JScriptHandsMapsOverAsValues) {
    test::Finished r = script(L"maps.js");
    EXPECT_EQ(r.exit_code, 0u) << r.err;
    // A refused argument is DISP_E_TYPEMISMATCH, which JScript may show as it is or as its own
    // "Type mismatch" (0x800A000D).
    std::string text = r.out;
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
