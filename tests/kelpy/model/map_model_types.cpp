#include "kelpy/model/map_model_types.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <string>
#include "com/bstr.h"
#include "com/error.h"
#include "com/ptr.h"
#include "common/registration.h"

namespace test {

void register_map_model_types() {
    static bool done = false;
    if (done) return;
    const std::wstring dir = program_dir();
    if (GetFileAttributesW((dir + L"\\mapmodel.dll").c_str()) != INVALID_FILE_ATTRIBUTES) {
        register_library(L"mapmodel.dll");
    } else {
        // The build tree keeps the generated type libraries beside bin/.
        const std::wstring tlb = dir + L"\\..\\generated\\mapmodel.tlb";
        com::ComPtr<ITypeLib> lib;
        HRESULT hr = LoadTypeLibEx(tlb.c_str(), REGKIND_REGISTER, lib.put());
        ASSERT_EQ(hr, S_OK) << "cannot register " << com::narrow(tlb) << ": " << com::narrow(com::describe(hr));
    }
    done = true;
}

}  // namespace test
