// Replacement of the result placeholders of an element formula.
#pragma once

#include "tlparams/method2_obj.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace tl {

// Replaces every occurrence of the ASCII `pattern`, letter case ignored, in `text` by
// `replacement`. `scratch` is a buffer that callers may keep between calls to save allocations.
void ReplaceAllIgnoringCase(std::string& text, std::string_view pattern, std::string_view replacement,
                            std::string& scratch);

// "%RESULT%", "%RESULT0%" and "%RESULT1%", in that order and in any letter case, replaced by
// "__var0[index]", "__var0[index]" and "__var1[index]".
std::string SubstitutePlaceholders(const TMethod2Obj& params, int32_t index);
void SubstitutePlaceholders(std::string& formula, int32_t index, std::string& scratch);

} // namespace tl
