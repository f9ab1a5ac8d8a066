#include "kelpy/platform/random.h"
#include <cstdint>
#include <utility>

namespace kelpy::platform {

namespace {
// A 24-bit linear congruential generator: the fraction is the state over 2^24, so every value
// is exact in single precision and lies in [0, 1).
struct Generator {
    uint32_t state = 0x50000;
    float next() {
        state = (state * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
        return float(state) / 16777216.0f;
    }
};

thread_local Generator generator;
thread_local std::function<float()> replacement;
}  // namespace

float Rnd() { return replacement ? replacement() : generator.next(); }

ScopedRandomSource::ScopedRandomSource(std::function<float()> source)
    : previous_(std::exchange(replacement, std::move(source))) {}

ScopedRandomSource::~ScopedRandomSource() { replacement = std::move(previous_); }

}  // namespace kelpy::platform
