// The frame of a benchmark program: the number of runs from its first argument (at least 5,
// default 5), OLE and the common controls started, the map model registered from beside it, the
// figures printed at the end; a failure goes to the standard error with the program's name.
#pragma once
#include <functional>
#include "bench/common/figures.h"

namespace bench {

// Runs `measure` with the runs per figure and the figures to fill; the program's exit status.
int run_program(const char* name, int argc, char** argv, const std::function<void(int runs, Figures&)>& measure);

}  // namespace bench
