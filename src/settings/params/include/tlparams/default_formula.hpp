// The formula a newly added element of the arbitrary-formula method starts with: its own energy.
#pragma once

#include "tlparams/method2_obj.hpp"

#include <cstdint>
#include <string>

namespace tl {

// "%Result% := W2($1A, 99, 3)" for object code 26, type 99, item 3; object code 0 is written "0".
std::string DefaultFormula(int32_t object_code, int32_t element_type, int32_t item);
void SetDefaultFormula(TMethod2Obj& params, int32_t object_code, int32_t element_type, int32_t item);

} // namespace tl
