// What the model of the table of contents needs to measure the legend rows it reads: a measurer
// that finds the size of a row's swatch and the row's height without writing anything (so that
// a new row gets its height with its insertion: one tree message per row), the sizes it finds,
// and their writing into the record. The item painter is the measurer; the model knows it only
// by this face.
#pragma once
#include <windows.h>
#include <exception>
#include <optional>
#include "kelpy/model/records.h"

namespace kelpy::toc {

// The height of a standard row at 96 dpi, as the records count it.
constexpr LONG row_unit = 16;

// What a measure found: the row's height in standard rows (each `row_height` pixels at the
// resolution measured for) and the swatch's size in pixels, not yet rounded. The width is read after the height; when reading it failed, the failure
// is kept for the write, so that the row still gets its height first.
struct SwatchMeasure {
    LONG rows = 1;
    LONG row_height = row_unit;
    double width = 0, height = 0;
    std::exception_ptr width_failure;
};

// The measure's last steps: the record's ItemHeight, SymbolWidth and SymbolHeight, in this
// order (a size beyond the record's range is the overflow error, raised where it is met).
void write_swatch(TocNode& record, const SwatchMeasure& measure);

class SwatchMeasurer {
public:
    // The swatch a legend row's symbol needs and the row's height, written nowhere: none for a
    // row without a symbol or a shape to measure it on.
    virtual std::optional<SwatchMeasure> MeasureSwatch(const TocNode& record) = 0;

    // Held by a rebuild from its start to its end: the measurer may keep what it measured for
    // that long (every symbol is then asked once), and forgets what it knew of the tree before.
    class Rebuild {
    public:
        explicit Rebuild(SwatchMeasurer& measurer) : measurer_(measurer) { measurer_.RebuildStarts(); }
        ~Rebuild() { measurer_.RebuildEnds(); }
        Rebuild(const Rebuild&) = delete;
        Rebuild& operator=(const Rebuild&) = delete;

    private:
        SwatchMeasurer& measurer_;
    };

protected:
    ~SwatchMeasurer() = default;
    virtual void RebuildStarts() = 0;
    virtual void RebuildEnds() noexcept = 0;
};

}  // namespace kelpy::toc
