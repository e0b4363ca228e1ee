#include "case_fold.hpp"

namespace tl::svc {

std::string FoldCase(std::string_view utf8) {
    std::string out(utf8);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + ('a' - 'A'));
            continue;
        }
        if (c != 0xD0 || i + 1 >= out.size()) {
            continue;
        }
        // U+0400..U+043F is D0 80..D0 BF; the capitals are U+0400..U+042F.
        const auto d = static_cast<unsigned char>(out[i + 1]);
        if (d >= 0x90 && d <= 0x9F) { // А..П -> а..п (D0 B0..D0 BF)
            out[i + 1] = static_cast<char>(d + 0x20);
        } else if (d >= 0xA0 && d <= 0xAF) { // Р..Я -> р..я (D1 80..D1 8F)
            out[i] = static_cast<char>(0xD1);
            out[i + 1] = static_cast<char>(d - 0x20);
        } else if (d >= 0x80 && d <= 0x8F) { // Ѐ..Џ, Ё among them -> ѐ..џ (D1 90..D1 9F)
            out[i] = static_cast<char>(0xD1);
            out[i + 1] = static_cast<char>(d + 0x10);
        }
        ++i;
    }
    return out;
}

} // namespace tl::svc
