// The floating-point environment a loss calculation runs in: round to nearest with every
// exception masked, so that an invalid operation or a division by zero in a formula gives a NaN
// or an infinity that the step can judge, never a signal that takes the host down. The thread's
// previous environment is restored when the scope ends.
#pragma once

#include <cfenv>

namespace tl {

class FloatingPointScope {
public:
    FloatingPointScope();
    ~FloatingPointScope();
    FloatingPointScope(const FloatingPointScope&) = delete;
    FloatingPointScope& operator=(const FloatingPointScope&) = delete;

private:
    std::fenv_t saved_;
};

} // namespace tl
