// Conversion between the UTF-8 used inside and the Windows-1251 of the driver's boundary.
#pragma once

#include <string>
#include <string_view>

namespace tl {

// Characters that Windows-1251 cannot hold become '?'.
std::string Utf8ToCp1251(std::string_view utf8);
// The same, appended to `out`.
void AppendUtf8AsCp1251(std::string& out, std::string_view utf8);
// Invalid bytes cannot occur: every byte of Windows-1251 has a character (0x98 maps to U+FFFD).
std::string Cp1251ToUtf8(std::string_view cp1251);

} // namespace tl
