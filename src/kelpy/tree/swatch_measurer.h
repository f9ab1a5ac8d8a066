// The measurer of legend rows, as the painter (draw/) knows it: the model of the table of
// contents measures its rows through it (toc/swatch_measurer.h), and the tree hands it on.
#pragma once
#include "kelpy/toc/swatch_measurer.h"

namespace kelpy::tree {

using toc::row_unit;
using toc::SwatchMeasure;
using toc::SwatchMeasurer;
using toc::write_swatch;

}  // namespace kelpy::tree
