#include "bench/common/figures.h"
#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {
std::vector<double> sorted(std::vector<double> v) {
    if (v.empty()) throw std::logic_error("no samples");
    std::sort(v.begin(), v.end());
    return v;
}
}  // namespace

double Samples::median() const {
    std::vector<double> v = sorted(values_);
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Samples::min() const { return sorted(values_).front(); }
double Samples::max() const { return sorted(values_).back(); }

std::string Samples::summary(int decimals, double scale) const {
    char text[96];
    std::snprintf(text, sizeof text, "%.*f (%.*f-%.*f)", decimals, scale * median(), decimals, scale * min(), decimals,
                  scale * max());
    return text;
}

void Figures::ratio(const std::string& name, const Samples& ratios, double goal) {
    figures_.push_back({name, "ratio", ratios.median(), goal});
}

void Figures::value(const std::string& name, double value, double goal) { figures_.push_back({name, "value", value, goal}); }

void Figures::print() const {
    for (const Figure& f : figures_)
        std::printf("figure %s %s %.*f goal %g\n", f.name.c_str(), f.kind.c_str(), f.kind == "ratio" ? 2 : 0, f.value,
                    f.goal);
    std::fflush(stdout);
}

std::string size_name(long items) {
    if (items < 900) return std::to_string(items);
    return std::to_string((items + 500) / 1000) + "k";
}

}  // namespace bench
