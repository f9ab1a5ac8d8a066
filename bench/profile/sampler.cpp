#include "bench/profile/sampler.h"
#include <tlhelp32.h>
#include <algorithm>
#include <stdexcept>

namespace profile {

namespace {
constexpr size_t max_frames = 96;
}  // namespace

std::vector<Module> loaded_modules() {
    std::vector<Module> modules;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    if (snapshot == INVALID_HANDLE_VALUE) throw std::runtime_error("no module list");
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry))
        modules.push_back({reinterpret_cast<uintptr_t>(entry.modBaseAddr), entry.modBaseSize, entry.szModule, entry.szExePath});
    CloseHandle(snapshot);
    std::sort(modules.begin(), modules.end(), [](const Module& a, const Module& b) { return a.base < b.base; });
    return modules;
}

Sampler::Sampler(DWORD interval_ms) : modules_(loaded_modules()), interval_ms_(interval_ms) {
    InitializeCriticalSection(&lock_);
    for (const Module& m : modules_) {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(m.base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(m.base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& pdata = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXCEPTION];
        if (pdata.VirtualAddress && pdata.Size)
            tables_.push_back({m.base, reinterpret_cast<const FunctionEntry*>(m.base + pdata.VirtualAddress),
                               pdata.Size / sizeof(FunctionEntry)});
    }
    // The measured thread's stack: from the start of its reservation to its base, the end of
    // the committed pages that hold this frame.
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(&info, &info, sizeof info);
    stack_low_ = reinterpret_cast<uintptr_t>(info.AllocationBase);
    stack_high_ = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &target_, 0, FALSE, DUPLICATE_SAME_ACCESS);
    thread_ = std::thread([this] { run(); });
}

Sampler::~Sampler() {
    stop_ = true;
    thread_.join();
    CloseHandle(target_);
    DeleteCriticalSection(&lock_);
}

std::vector<Stack> Sampler::take() {
    EnterCriticalSection(&lock_);
    std::vector<Stack> taken = std::move(samples_);
    samples_.clear();
    LeaveCriticalSection(&lock_);
    stale_ = 0;
    return taken;
}

bool Sampler::known(uintptr_t address) const noexcept {
    for (const Module& m : modules_)
        if (m.contains(address)) return true;
    return false;
}

const Sampler::FunctionEntry* Sampler::unwind_entry(uintptr_t address, uintptr_t& base) const noexcept {
    for (const UnwindTable& t : tables_) {
        if (address < t.base) continue;
        const DWORD rva = DWORD(address - t.base);
        const FunctionEntry* end = t.functions + t.count;
        const FunctionEntry* f =
            std::upper_bound(t.functions, end, rva, [](DWORD a, const FunctionEntry& e) { return a < e.begin; });
        if (f == t.functions) continue;
        --f;
        if (rva < f->end) {
            base = t.base;
            return f;
        }
    }
    return nullptr;
}

size_t Sampler::walk(CONTEXT& context, uintptr_t* frames, size_t capacity) const noexcept {
#ifdef _WIN64
    size_t n = 0;
    while (n < capacity) {
        const uintptr_t rip = context.Rip;
        frames[n++] = rip;
        if (!known(rip)) break;
        uintptr_t base = 0;
        if (const FunctionEntry* f = unwind_entry(rip, base)) {
            static_assert(sizeof(FunctionEntry) == sizeof(RUNTIME_FUNCTION));
            void* handler_data = nullptr;
            DWORD64 establisher = 0;
            RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, rip, reinterpret_cast<RUNTIME_FUNCTION*>(const_cast<FunctionEntry*>(f)),
                             &context, &handler_data, &establisher, nullptr);
        } else {
            // A function without unwind data keeps nothing on the stack: its caller's return
            // address is on top.
            if (context.Rsp < stack_low_ || context.Rsp + 8 > stack_high_) break;
            context.Rip = *reinterpret_cast<const DWORD64*>(context.Rsp);
            context.Rsp += 8;
        }
        if (context.Rip == 0 || context.Rsp < stack_low_ || context.Rsp >= stack_high_) break;
    }
    return n;
#else
    if (capacity == 0) return 0;
    frames[0] = context.Eip;
    return 1;
#endif
}

void Sampler::run() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    uintptr_t frames[max_frames];
    while (!stop_) {
        Sleep(interval_ms_);
        if (!active_) continue;
        if (SuspendThread(target_) == DWORD(-1)) continue;
        CONTEXT context{};
        context.ContextFlags = CONTEXT_FULL;
        size_t n = 0;
        if (GetThreadContext(target_, &context)) n = walk(context, frames, max_frames);
        ResumeThread(target_);
        // A thread stopped inside a system call shows the call's caller (Wine gives the
        // registers saved where the call entered its Unix side). One stopped outside every
        // module had not yet left the handling of the previous stop (a busy machine may not run
        // it again within a millisecond): that sample says nothing about the work.
        if (n == 0) continue;
        if (n == 1 && !known(frames[0])) {
            ++stale_;
            continue;
        }
        EnterCriticalSection(&lock_);
        samples_.emplace_back(frames, frames + n);
        LeaveCriticalSection(&lock_);
    }
}

}  // namespace profile
