// The names of the functions of a module of the process, read from the symbol table that the
// MinGW linker leaves in the module's file (Wine's own libraries keep theirs as well, static
// functions included), or from the module's exports when its file has none.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "bench/profile/sampler.h"

namespace profile {

class ModuleSymbols {
public:
    // The functions of `module`: from its own file, else from the file of the same name in
    // `fallback_dir` (where Wine keeps the real files of the libraries that the prefix holds as
    // stand-ins), else its exports.
    ModuleSymbols(const Module& module, const std::wstring& fallback_dir);
    // The function holding this address of the module ("?+offset" when none precedes it).
    std::string name_of(uintptr_t address) const;
    const Module& module() const noexcept { return module_; }
    // Where the names came from: "symbols", "exports" or "none".
    const char* source() const noexcept { return source_; }

private:
    struct Function {
        uint32_t rva;
        std::string name;
    };
    bool read_symbol_table(const std::wstring& path);
    void read_exports();

    Module module_;
    std::vector<Function> functions_;  // sorted by address
    const char* source_ = "none";
};

// A C++ name as written (no parameter list); other names as they are.
std::string readable_name(const std::string& raw);

}  // namespace profile
