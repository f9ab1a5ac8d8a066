// Figures: the results of a benchmark as statistics of several runs, and the lines a script
// reads at the end of the program, one per figure, exactly
//     figure <name> ratio <r> goal <g>     (a ratio measured side by side in one run)
//     figure <name> value <v> goal <g>     (a count or size; met when v <= g)
// Ratios are taken run by run between two things timed one after the other, so that a busy
// moment of the (shared, noisy) machine falls on both sides alike; the figure is their median.
#pragma once
#include <string>
#include <vector>

namespace bench {

// Several measurements of one quantity.
class Samples {
public:
    void add(double v) { values_.push_back(v); }
    size_t size() const { return values_.size(); }
    double median() const;
    double min() const;
    double max() const;
    // "median (min-max)" with `decimals` decimals, the values scaled by `scale` first.
    std::string summary(int decimals = 2, double scale = 1.0) const;

private:
    std::vector<double> values_;
};

// Two things timed alternately, run by run: their seconds and the ratio of each run.
struct Comparison {
    Samples subject, yardstick, ratio;
};

// Runs `subject` and `yardstick` alternately; each answers its own seconds (so that it can
// leave its preparation out of the timing). A run adds up as many alternate rounds as take at
// least `min_seconds` together (found from one round first, which is not counted), so that
// short operations are not lost in the machine's noise.
template <class S, class Y>
Comparison compare(int runs, S&& subject, Y&& yardstick, double min_seconds = 0.1) {
    const double once = subject() + yardstick();
    const int rounds = once > 0 && once < min_seconds ? int(min_seconds / once) + 1 : 1;
    Comparison c;
    for (int i = 0; i < runs; ++i) {
        double s = 0, y = 0;
        for (int k = 0; k < rounds; ++k) {
            s += subject();
            y += yardstick();
        }
        c.subject.add(s / rounds);
        c.yardstick.add(y / rounds);
        c.ratio.add(y > 0 ? s / y : 0.0);
    }
    return c;
}

// The figures of one program, printed together at its end.
class Figures {
public:
    void ratio(const std::string& name, const Samples& ratios, double goal);
    void value(const std::string& name, double value, double goal);
    // One line per figure, in the order they were given; then flushes.
    void print() const;

private:
    struct Figure {
        std::string name, kind;
        double value, goal;
    };
    std::vector<Figure> figures_;
};

// A tree's size for a figure's name: 101 -> "101", 992 -> "1k", 32012 -> "32k".
std::string size_name(long items);

}  // namespace bench
