// The host's interrupt flag: a 32-bit integer of the host, non-zero while the host wants the running
// task steps to stop now. The host sets it from another thread or a signal handler; the driver only
// reads it, where a step can stop cheaply (per stamp, and inside scripts through the engine).
#pragma once

#include <cstdint>

namespace tl {

inline bool InterruptRequested(const volatile int32_t* flag) {
    return flag != nullptr && __atomic_load_n(flag, __ATOMIC_RELAXED) != 0;
}

// Thrown where a step notices the flag; the task catches it and ends as stopped. Not a
// std::exception, so that handlers of ordinary failures let it pass.
struct TaskInterrupted {};

inline void ThrowIfInterrupted(const volatile int32_t* flag) {
    if (InterruptRequested(flag)) [[unlikely]] {
        throw TaskInterrupted{};
    }
}

} // namespace tl
