#include "tldata/case_fold.hpp"

#include "tlcommon/text_codec.hpp"

namespace tl {
namespace {

char FoldByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF)) {
        return static_cast<char>(b + 0x20);
    }
    if (b == 0xA8) { // Ё
        return static_cast<char>(0xB8);
    }
    return c;
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string FoldCase(std::string_view utf8) {
    std::string out = IsAscii(utf8) ? std::string(utf8) : Utf8ToCp1251(utf8);
    for (char& c : out) {
        c = FoldByte(c);
    }
    return out;
}

int CompareText(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        const size_t n = a.size() < b.size() ? a.size() : b.size();
        for (size_t i = 0; i < n; ++i) {
            const auto x = static_cast<unsigned char>(FoldByte(a[i]));
            const auto y = static_cast<unsigned char>(FoldByte(b[i]));
            if (x != y) {
                return x < y ? -1 : 1;
            }
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    return FoldCase(a).compare(FoldCase(b));
}

bool SameText(std::string_view a, std::string_view b) {
    return CompareText(a, b) == 0;
}

std::string_view CutToChars(std::string_view utf8, size_t max_chars) {
    size_t chars = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) { // first byte of a character
            if (chars == max_chars) {
                return utf8.substr(0, i);
            }
            ++chars;
        }
    }
    return utf8;
}

} // namespace tl
