// The check script: one formula, or the common script alone, in a text the compiler can judge
// without the rest of the task.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tl {

// Without `wrap` the check script is the upper-cased formula alone (how the common script is
// checked). With `wrap` the formula's placeholders become the plain variables __var0 and __var1
// (a bare expression is assigned to __var0), declared in front and printed behind, with the
// common script ahead of everything when it is not empty.
std::string BuildCheckScript(std::string_view common_script, std::string_view formula, bool wrap);

// How many lines of the check script lie in front of the formula's first line.
int32_t CheckScriptLinesBeforeFormula(std::string_view common_script, bool wrap);

} // namespace tl
