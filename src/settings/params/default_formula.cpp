#include "tlparams/default_formula.hpp"

#include <fmt/format.h>

namespace tl {

std::string DefaultFormula(int32_t object_code, int32_t element_type, int32_t item) {
    // Object codes are written as Pascal hexadecimal literals; a negative one as its 32 bits.
    const std::string code =
        object_code == 0 ? std::string("0") : fmt::format("${:X}", static_cast<uint32_t>(object_code));
    return fmt::format("%Result% := W2({}, {}, {})", code, element_type, item);
}

void SetDefaultFormula(TMethod2Obj& params, int32_t object_code, int32_t element_type, int32_t item) {
    params.Formula = DefaultFormula(object_code, element_type, item);
}

} // namespace tl
