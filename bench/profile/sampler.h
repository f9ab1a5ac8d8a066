// Sampler: a sampling profiler inside the process. A thread of its own stops the measured thread
// every few milliseconds (SuspendThread), reads its registers (GetThreadContext), walks its
// stack by the unwind tables of the loaded modules, and lets it go again. While the measured
// thread is stopped the sampler takes no lock and allocates nothing (the stopped thread may hold
// the heap's or the loader's lock): the module tables are read before sampling starts, and the
// stack goes into a buffer of fixed size.
// x64 walks the whole stack; x86, whose code keeps no unwind tables, gives the instruction
// pointer alone. A thread stopped inside a system call is seen where it made the call: Wine
// gives the registers saved on the way into its Unix side, so the time of the Unix side and of
// the server shows as the system call's own (win32u!NtUser..., win32u!NtGdi..., ntdll!Nt...).
#pragma once
#include <windows.h>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace profile {

// A module of the process: where its image lies, and its name and file.
struct Module {
    uintptr_t base = 0;
    size_t size = 0;
    std::wstring name, path;
    bool contains(uintptr_t address) const noexcept { return address >= base && address - base < size; }
};

// The modules loaded in the process now.
std::vector<Module> loaded_modules();

// One sample: the return addresses of the stack, the instruction pointer first.
using Stack = std::vector<uintptr_t>;

class Sampler {
public:
    // Samples the calling thread from now on, while active, every `interval_ms` milliseconds;
    // the modules loaded now are the ones whose frames the stack walk follows. Under Wine every
    // stop costs the server several requests, which the measured thread's own requests then wait
    // behind: a longer interval disturbs it less.
    explicit Sampler(DWORD interval_ms);
    ~Sampler();
    Sampler(const Sampler&) = delete;
    Sampler& operator=(const Sampler&) = delete;

    // Sampling on or off (the thread goes on running either way).
    void active(bool on) noexcept { active_ = on; }
    // The samples taken so far; none are kept.
    std::vector<Stack> take();
    // The stops since the last take() that found the thread still in the handling of the stop
    // before (not counted as samples).
    long stale() const noexcept { return stale_; }
    const std::vector<Module>& modules() const noexcept { return modules_; }

private:
    // An entry of a module's table of functions and their unwind data (.pdata; x64 only).
    struct FunctionEntry {
        DWORD begin, end, unwind_data;
    };
    struct UnwindTable {
        uintptr_t base;
        const FunctionEntry* functions;
        size_t count;
    };
    void run();
    size_t walk(CONTEXT& context, uintptr_t* frames, size_t capacity) const noexcept;
    const FunctionEntry* unwind_entry(uintptr_t address, uintptr_t& base) const noexcept;
    bool known(uintptr_t address) const noexcept;

    std::vector<Module> modules_;
    std::vector<UnwindTable> tables_;
    HANDLE target_ = nullptr;
    DWORD interval_ms_;
    uintptr_t stack_low_ = 0, stack_high_ = 0;
    std::atomic<bool> active_{false}, stop_{false};
    std::atomic<long> stale_{0};
    CRITICAL_SECTION lock_;  // guards samples_ (taken only while the target runs)
    std::vector<Stack> samples_;
    std::thread thread_;
};

}  // namespace profile
