#include "ansi_text.hpp"

#include "tlcommon/text_codec.hpp"

#include <array>
#include <cstring>

namespace tl::script {
namespace {

// The UTF-8 form of each byte 0x80..0xFF, taken once from the common codec.
struct HighHalf {
    std::array<std::array<char, 4>, 128> bytes{};
    std::array<uint8_t, 128> size{};
    HighHalf() {
        for (int i = 0; i < 128; ++i) {
            const char c = static_cast<char>(0x80 + i);
            std::string utf8 = Cp1251ToUtf8(std::string_view(&c, 1));
            size[static_cast<size_t>(i)] = static_cast<uint8_t>(utf8.size());
            std::memcpy(bytes[static_cast<size_t>(i)].data(), utf8.data(), utf8.size());
        }
    }
};

const HighHalf& Utf8OfHighHalf() {
    static const HighHalf table;
    return table;
}

// Upper and lower case pairs of the code page beyond ASCII and the А..я block.
constexpr std::array<std::array<uint8_t, 2>, 15> kCyrillicPairs = {{
    {0x80, 0x90}, // Ђ ђ
    {0x81, 0x83}, // Ѓ ѓ
    {0x8A, 0x9A}, // Љ љ
    {0x8C, 0x9C}, // Њ њ
    {0x8D, 0x9D}, // Ќ ќ
    {0x8E, 0x9E}, // Ћ ћ
    {0x8F, 0x9F}, // Џ џ
    {0xA1, 0xA2}, // Ў ў
    {0xA3, 0xBC}, // Ј ј
    {0xA5, 0xB4}, // Ґ ґ
    {0xA8, 0xB8}, // Ё ё
    {0xAA, 0xBA}, // Є є
    {0xAF, 0xBF}, // Ї ї
    {0xB2, 0xB3}, // І і
    {0xBD, 0xBE}, // Ѕ ѕ
}};

struct CaseTables {
    std::array<char, 256> upper{};
    std::array<char, 256> lower{};
    constexpr CaseTables() {
        for (int b = 0; b < 256; ++b) {
            upper[static_cast<size_t>(b)] = static_cast<char>(b);
            lower[static_cast<size_t>(b)] = static_cast<char>(b);
        }
        auto pair = [this](int up, int low) {
            upper[static_cast<size_t>(low)] = static_cast<char>(up);
            lower[static_cast<size_t>(up)] = static_cast<char>(low);
        };
        for (int b = 'A'; b <= 'Z'; ++b) {
            pair(b, b + 32);
        }
        for (int b = 0xC0; b <= 0xDF; ++b) { // А..Я and а..я
            pair(b, b + 32);
        }
        for (const auto& p : kCyrillicPairs) {
            pair(p[0], p[1]);
        }
    }
};

constexpr CaseTables kCase;

} // namespace

bool IsAscii(std::string_view text) {
    const char* p = text.data();
    size_t n = text.size();
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t word = 0;
        std::memcpy(&word, p, 8);
        if ((word & 0x8080808080808080ULL) != 0) {
            return false;
        }
    }
    for (; n > 0; ++p, --n) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            return false;
        }
    }
    return true;
}

void AppendAsUtf8(std::string& out, std::string_view cp1251) {
    if (IsAscii(cp1251)) {
        out.append(cp1251);
        return;
    }
    const HighHalf& high = Utf8OfHighHalf();
    out.reserve(out.size() + cp1251.size() * 2);
    for (char c : cp1251) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.append(high.bytes[b - 0x80U].data(), high.size[b - 0x80U]);
        }
    }
}

std::string ToUtf8(std::string_view cp1251) {
    std::string out;
    AppendAsUtf8(out, cp1251);
    return out;
}

std::string ToCp1251(std::string_view utf8) {
    return IsAscii(utf8) ? std::string(utf8) : Utf8ToCp1251(utf8);
}

char AnsiUpper(char c) {
    return kCase.upper[static_cast<unsigned char>(c)];
}

char AnsiLower(char c) {
    return kCase.lower[static_cast<unsigned char>(c)];
}

int32_t AnsiCollationWeight(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0xA8) { // Ё
        return 0xC5 * 2 + 1;
    }
    if (b == 0xB8) { // ё
        return 0xE5 * 2 + 1;
    }
    return b * 2;
}

} // namespace tl::script
