#include "bench/profile/import_counter.h"
#include <cstring>
#include <stdexcept>
#include <string>

namespace profile {

namespace {
CallCounts counts;
void* real_get_focus = nullptr;
void* real_get_prop = nullptr;
bool counting = false;

HWND WINAPI counted_get_focus() {
    ++counts.get_focus;
    return reinterpret_cast<HWND(WINAPI*)()>(real_get_focus)();
}

HANDLE WINAPI counted_get_prop(HWND window, LPCWSTR name) {
    ++counts.get_prop;
    return reinterpret_cast<HANDLE(WINAPI*)(HWND, LPCWSTR)>(real_get_prop)(window, name);
}
}  // namespace

ImportCounter::ImportCounter(std::initializer_list<const wchar_t*> modules) {
    if (counting) throw std::logic_error("one import counter at a time");
    for (const wchar_t* module : modules) {
        HMODULE m = GetModuleHandleW(module);
        if (!m) throw std::runtime_error("a module to count is not loaded");
        patch(m, "GetFocus", reinterpret_cast<void*>(&counted_get_focus), real_get_focus);
        patch(m, "GetPropW", reinterpret_cast<void*>(&counted_get_prop), real_get_prop);
    }
    counting = true;
}

ImportCounter::~ImportCounter() {
    for (const Patch& p : patches_) {
        DWORD old = 0;
        VirtualProtect(p.entry, sizeof(void*), PAGE_READWRITE, &old);
        *p.entry = p.original;
        VirtualProtect(p.entry, sizeof(void*), old, &old);
    }
    counting = false;
}

CallCounts ImportCounter::take() noexcept {
    const CallCounts taken = counts;
    counts = {};
    return taken;
}

void ImportCounter::patch(HMODULE module, const char* name, void* stand_in, void*& original) {
    const auto base = reinterpret_cast<const char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (_stricmp(base + d->Name, "user32.dll") != 0) continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* entries = reinterpret_cast<void**>(const_cast<char*>(base) + d->FirstThunk);
        for (size_t i = 0; names[i].u1.AddressOfData; ++i) {
            if (IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) continue;
            const auto* by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), name) != 0) continue;
            original = entries[i];
            DWORD old = 0;
            VirtualProtect(&entries[i], sizeof(void*), PAGE_READWRITE, &old);
            entries[i] = stand_in;
            VirtualProtect(&entries[i], sizeof(void*), old, &old);
            patches_.push_back({&entries[i], original});
            return;
        }
    }
}

}  // namespace profile
