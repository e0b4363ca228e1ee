#include "tlassembly/ansi_case.hpp"

namespace tl {
namespace {

// The lower-case letters of Windows-1251 outside ASCII, as UTF-8 second bytes after their lead
// byte, map onto upper-case letters of the same UTF-8 length, so the text is changed in place.
void UpperCyrillicPair(unsigned char& lead, unsigned char& trail) {
    if (lead == 0xD0 && trail >= 0xB0 && trail <= 0xBF) { // а..п -> А..П
        trail = static_cast<unsigned char>(trail - 0x20);
    } else if (lead == 0xD1 && trail >= 0x80 && trail <= 0x8F) { // р..я -> Р..Я
        lead = 0xD0;
        trail = static_cast<unsigned char>(trail + 0x20);
    } else if (lead == 0xD1 && trail >= 0x91 && trail <= 0x9F && trail != 0x9D) {
        // ё ђ ѓ є ѕ і ї ј љ њ ћ ќ ў џ -> Ё Ђ Ѓ ...; U+0450 and U+045D are not in the code page.
        lead = 0xD0;
        trail = static_cast<unsigned char>(trail - 0x10);
    } else if (lead == 0xD2 && trail == 0x91) { // ґ -> Ґ
        trail = 0x90;
    }
}

} // namespace

std::string AnsiUpperCase(std::string_view utf8) {
    std::string text(utf8);
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'a' && c <= 'z') {
            text[i] = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 0xD0 && c <= 0xD2 && i + 1 < text.size()) {
            auto lead = c;
            auto trail = static_cast<unsigned char>(text[i + 1]);
            UpperCyrillicPair(lead, trail);
            text[i] = static_cast<char>(lead);
            text[i + 1] = static_cast<char>(trail);
            ++i;
        }
    }
    return text;
}

} // namespace tl
