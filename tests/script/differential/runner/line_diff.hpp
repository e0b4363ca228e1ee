#pragma once

#include <string>
#include <string_view>

namespace tl::differential {

// A line-by-line comparison of two texts for a person to read: empty when the texts are equal
// byte for byte, otherwise a unified diff ("-" expected, "+" actual) with line numbers and
// escapes that make invisible differences visible (\r, \t, \xNN, a missing last line break).
std::string LineDiff(std::string_view expected, std::string_view actual, int context = 2);

} // namespace tl::differential
