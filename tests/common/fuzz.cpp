#include "common/fuzz.h"
#include <atomic>
#include <cstdio>
#include <cstring>

namespace fuzz {

uint64_t mix(uint64_t x) {
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

uint64_t Random::next() { return mix(state_ += 0x9E3779B97F4A7C15ull); }

uint64_t fresh_seed() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return Random(uint64_t(c.QuadPart) ^ (uint64_t(GetCurrentProcessId()) << 32)).next();
}

SIZE_T private_bytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (const char* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m;) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
        const char* next = static_cast<const char*>(m.BaseAddress) + m.RegionSize;
        if (next <= p) break;
        p = next;
    }
    return total;
}

double now_ms() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

namespace {

// What the crash report and the watchdog need to know about the run.
struct Watched {
    std::string prefix;
    double hang_ms = 0;
    std::function<std::string(long)> replay;
    std::atomic<long> step{-1};
    std::atomic<int64_t> started_us{0};
    HANDLE watchdog = nullptr;
    std::atomic<bool> stop{false};
};
Watched* watched = nullptr;

// Written straight to the standard output handle: it must work from a crashed process too.
void say(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), DWORD(text.size()), &written, nullptr);
}

void report(const char* what, const char* figure) {
    std::fflush(stdout);
    const long step = watched->step.load();
    say(std::string(what) + " in step " + std::to_string(step) + "; replay: " + watched->replay(step) + "\n");
    say("figure " + watched->prefix + "-" + figure + " value 1 goal 0\n");
}

LONG WINAPI on_crash(EXCEPTION_POINTERS* e) {
    char what[64];
    std::snprintf(what, sizeof what, "CRASH: exception 0x%08lX", static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode));
    report(what, "crashes");
    return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI watch(void*) {
    while (!watched->stop.load()) {
        Sleep(250);
        if (watched->step.load() < 0) continue;
        if (now_ms() - double(watched->started_us.load()) / 1000.0 > watched->hang_ms) {
            report("HANG: no answer", "hangs");
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
    return 0;
}

}  // namespace

Guard::Guard(std::string figure_prefix, double hang_ms, std::function<std::string(long)> replay) {
    watched = new Watched;
    watched->prefix = std::move(figure_prefix);
    watched->hang_ms = hang_ms;
    watched->replay = std::move(replay);
    // Room for the crash report on a thread whose stack has overflowed.
    ULONG guarantee = 64 * 1024;
    SetThreadStackGuarantee(&guarantee);
    SetUnhandledExceptionFilter(on_crash);
    watched->watchdog = CreateThread(nullptr, 0, watch, nullptr, 0, nullptr);
}

Guard::~Guard() {
    watched->stop = true;
    if (watched->watchdog) {
        WaitForSingleObject(watched->watchdog, INFINITE);
        CloseHandle(watched->watchdog);
    }
    SetUnhandledExceptionFilter(nullptr);
    delete watched;
    watched = nullptr;
}

void Guard::begin(long step) {
    watched->started_us = int64_t(now_ms() * 1000.0);
    watched->step = step;
}

void Guard::end() { watched->step = -1; }

}  // namespace fuzz
