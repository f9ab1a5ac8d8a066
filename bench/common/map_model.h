// The map model for benchmarks: mapmodel.dll, built beside the program, registered in the
// current prefix.
#pragma once

namespace bench {

// Registers mapmodel.dll once; false when it cannot be loaded or registered.
bool use_map_model();

}  // namespace bench
