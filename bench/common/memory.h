// The memory a benchmark's process holds.
#pragma once
#include <cstddef>

namespace bench {

// The process's private bytes (its committed memory that no other process shares).
size_t private_bytes();

}  // namespace bench
