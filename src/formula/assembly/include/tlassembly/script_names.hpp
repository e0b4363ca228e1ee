// The fixed names that the generated scripts use.
#pragma once

#include <string_view>

namespace tl {

// Run script: arrays [1..N] of Float holding the two results of each element; check script: two
// Float variables.
inline constexpr std::string_view kResultVar0 = "__var0";
inline constexpr std::string_view kResultVar1 = "__var1";

// Result placeholders of an element formula, matched without regard to letter case.
inline constexpr std::string_view kPlaceholderResult = "%RESULT%";
inline constexpr std::string_view kPlaceholderResult0 = "%RESULT0%";
inline constexpr std::string_view kPlaceholderResult1 = "%RESULT1%";

} // namespace tl
