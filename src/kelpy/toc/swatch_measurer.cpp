#include "kelpy/toc/swatch_measurer.h"
#include <cstdint>
#include "com/error.h"
#include "com/vbnum.h"

namespace kelpy::toc {

void write_swatch(TocNode& record, const SwatchMeasure& measure) {
    if (measure.width_failure) std::rethrow_exception(measure.width_failure);
    if (measure.row_height <= 0 || measure.rows > INT32_MAX / measure.row_height) com::raise(CTL_E_OVERFLOW);
    record.ItemHeight = measure.rows * measure.row_height;
    record.SymbolWidth = com::round_half_even(measure.width);
    record.SymbolHeight = com::round_half_even(measure.height);
}

}  // namespace kelpy::toc
