// What reading a data file costs, each file read in a fresh process (this program run again as a
// child): the peak memory while reading, less the idle process's, per byte of the file (goal 8),
// and the time to read or refuse the file against parsing the same file's JSON alone (goal 3),
// for hostile files that the map generator makes (at least 1 MB each) and the shipped world.
#pragma once
#include <string>
#include "bench/common/figures.h"

namespace data_cost {

// In a child: "--read <file>" or "--parse <file>" measures once and prints its line; answers
// whether the arguments asked for that (and then the program's exit status in `rc`).
bool run_child(int& rc);

// In the program: the figures memory-<label> and read-<label>, `runs` children each.
void measure(int runs, bench::Figures& figures);

}  // namespace data_cost
