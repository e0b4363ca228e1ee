// Text comparison without regard to letter case, as the metering system compares names and sorts
// its lists: Latin and Cyrillic letters fold to lower case, everything else compares by its
// Windows-1251 byte.
#pragma once

#include <string>
#include <string_view>

namespace tl {

// The Windows-1251 bytes of `utf8` with every letter in lower case.
std::string FoldCase(std::string_view utf8);

// <0, 0 or >0, like strcmp, on the folded texts.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// `utf8` cut to at most `max_chars` characters (never inside a character).
std::string_view CutToChars(std::string_view utf8, size_t max_chars);

} // namespace tl
