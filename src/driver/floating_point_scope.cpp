#include "tldriver/floating_point_scope.hpp"

#include <fenv.h> // fedisableexcept (GNU)

namespace tl {

FloatingPointScope::FloatingPointScope() {
    std::fegetenv(&saved_);
    std::fesetround(FE_TONEAREST);
    fedisableexcept(FE_ALL_EXCEPT);
}

FloatingPointScope::~FloatingPointScope() {
    // Restores the rounding mode and the trap mask of the thread that ends the task.
    std::fesetenv(&saved_);
}

} // namespace tl
