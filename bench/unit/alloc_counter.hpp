// Heap allocations through operator new since the start of the process, for benchmarks that
// report what a hot loop allocates.
#pragma once

#include <cstdint>

namespace tl::bench {

int64_t AllocationCount();

} // namespace tl::bench
