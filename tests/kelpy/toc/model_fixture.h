// Reading models of the table of contents without a window: a measurer that gives every swatch
// two standard rows, and the reading as the rebuild makes it.
#pragma once
#include <optional>
#include "com/ptr.h"
#include "kelpy/toc/reading.h"
#include "kelpy/tree/legends.h"

namespace test {

class FixedMeasurer final : public kelpy::toc::SwatchMeasurer {
public:
    std::optional<kelpy::toc::SwatchMeasure> MeasureSwatch(const kelpy::TocNode&) override {
        return kelpy::toc::SwatchMeasure{.rows = 2, .width = 20.4, .height = 9.5, .width_failure = {}};
    }

private:
    void RebuildStarts() override {}
    void RebuildEnds() noexcept override {}
};

// What a reading asks besides the map, with a memory as the control's first start makes it.
struct ModelSources {
    kelpy::Options options;
    kelpy::NodeStates memory;
    FixedMeasurer measurer;

    ModelSources() {
        memory.Redim(1);
        memory.Set(0, L"", true);
    }
    void read(const com::ComPtr<IMap>& map, kelpy::toc::Toc& toc) {
        kelpy::toc::Read(map, {options, memory, measurer, &kelpy::tree::AddLegend}, toc);
    }
};

}  // namespace test
