// What the fuzz suites share: a seeded random source whose sequence is the same on every
// machine and architecture, a fresh seed per run, the process's private bytes, and the guard
// that reports a crash or a hang of a run with what replays it.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>

namespace fuzz {

// Scrambles a 64-bit value (the finalizer of splitmix64).
uint64_t mix(uint64_t x);

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next();
    size_t below(size_t n) { return n ? size_t(next() % n) : 0; }
    // True with probability `percent` / 100.
    bool chance(int percent) { return below(100) < size_t(percent); }
    template <class T, size_t N>
    const T& pick(const T (&items)[N]) { return items[below(N)]; }

private:
    uint64_t state_;
};

// A seed no earlier run had, most likely.
uint64_t fresh_seed();
// The process's committed private memory, added up over its address space (not every
// implementation of Windows fills in GetProcessMemoryInfo's PrivateUsage).
SIZE_T private_bytes();
double now_ms();

// While a guard lives, a crash of the process, or a step that takes longer than `hang_ms`, ends
// the run with one line that says what happened and how to replay it (`replay(step)`), and the
// figure line of a crash or a hang (`<prefix>-crashes` or `<prefix>-hangs`, value 1 goal 0).
// One guard per process.
class Guard {
public:
    Guard(std::string figure_prefix, double hang_ms, std::function<std::string(long)> replay);
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    // A step begins, or the one running has ended.
    void begin(long step);
    void end();
};

}  // namespace fuzz
