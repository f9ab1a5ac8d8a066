// The runtime's pseudo-random generator: a single-precision fraction in [0, 1). Each thread has
// its own sequence, which starts from the same fixed seed; the control never seeds it.
#pragma once
#include <functional>

namespace kelpy::platform {

float Rnd();

// Replaces the generator of the calling thread while it lives (tests use it to draw chosen
// values, for example the same value twice).
class ScopedRandomSource {
public:
    explicit ScopedRandomSource(std::function<float()> source);
    ~ScopedRandomSource();
    ScopedRandomSource(const ScopedRandomSource&) = delete;
    ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

private:
    std::function<float()> previous_;
};

}  // namespace kelpy::platform
