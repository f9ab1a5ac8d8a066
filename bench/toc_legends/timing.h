// Wall-clock timing for the benchmark.
#pragma once
#include <windows.h>
#include <algorithm>
#include <vector>

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

// The median of a few runs of `run`, which answers its own seconds.
template <class F>
double median_seconds(int runs, F&& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(run());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace bench
