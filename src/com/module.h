// The module: live-object and lock counts of one library (each DLL links its own copy), the
// handle of the binary the code runs in, and the generic class factory.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <unknwn.h>
#include <string_view>

namespace com {

class Module {
public:
    static void object_created() noexcept;
    static void object_destroyed() noexcept;
    static void lock(bool on) noexcept;
    static LONG live_objects() noexcept;
    static LONG locks() noexcept;
    static bool can_unload() noexcept { return live_objects() == 0 && locks() == 0; }
    // The binary (DLL or program) that contains this code.
    static HMODULE handle() noexcept;
    static std::wstring_view path();
};

// A class factory for a class whose create(IUnknown* outer, REFIID, void**) makes instances.
using CreateFn = HRESULT (*)(REFIID riid, void** out);
HRESULT make_class_factory(CreateFn create, REFIID riid, void** out);

}  // namespace com
