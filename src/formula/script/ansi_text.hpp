// Script strings hold Windows-1251 bytes, one byte a character, as the operators' formulas were
// written; source texts, host functions, printed output and messages speak UTF-8. The
// conversions take an ASCII fast path: what run scripts print is almost all ASCII.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tl::script {

bool IsAscii(std::string_view text);

// Appends Windows-1251 text to UTF-8 output.
void AppendAsUtf8(std::string& out, std::string_view cp1251);
std::string ToUtf8(std::string_view cp1251);
// Characters that Windows-1251 cannot hold become '?'.
std::string ToCp1251(std::string_view utf8);

// Letter case of Windows-1251: Latin, Cyrillic (Ё/ё included) and the other Cyrillic letters
// of the code page. Everything else stays as it is.
char AnsiUpper(char c);
char AnsiLower(char c);
inline char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Blanks are the space and the control characters below it, as Pascal's Trim has them.
inline bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
inline std::string_view TrimBlanksStart(std::string_view s) {
    while (!s.empty() && IsBlankOrControl(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}
inline std::string_view TrimBlanksEnd(std::string_view s) {
    while (!s.empty() && IsBlankOrControl(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}
inline std::string_view TrimBlanks(std::string_view s) {
    return TrimBlanksEnd(TrimBlanksStart(s));
}

// The place of a byte in the alphabetical order: byte order, except that Ё and ё come right
// after Е and е.
int32_t AnsiCollationWeight(char c);

} // namespace tl::script
