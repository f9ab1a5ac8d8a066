// Wall-clock timing for benchmarks.
#pragma once
#include <windows.h>

namespace bench {

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double seconds() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return double(now.QuadPart - start_.QuadPart) / double(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

// The seconds that one call of `run` takes.
template <class F>
double seconds_of(F&& run) {
    Stopwatch watch;
    run();
    return watch.seconds();
}

}  // namespace bench
