#include "bench/common/memory.h"
#include <windows.h>

namespace bench {

// The committed pages of the address space that belong to this process alone (heaps, stacks,
// private allocations; not mapped files or images).
size_t private_bytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info{};
    const char* address = nullptr;
    while (VirtualQuery(address, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

}  // namespace bench
