#include "float_format.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fmt/format.h>

namespace tl::script {
namespace {

constexpr int kPrecision = 15;

// All significant digits of value (exact: every double has a
// finite decimal expansion of at most 767 significant digits).
std::string ExactDigits(double value, int& exponent) {
    std::string text = fmt::format("{:.780e}", value);
    size_t e = text.find('e');
    exponent = std::atoi(text.c_str() + e + 1);
    std::string digits;
    for (size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits += text[i];
        }
    }
    return digits;
}

// 15 significant digits of a value whose shortest form is longer, rounded half away from zero
// as Pascal's FloatToStr rounds (100000000000000.5 gives 100000000000001).
int RoundedDigits(double value, char* digits, int& exponent) {
    char text[40];
    auto end = fmt::format_to_n(text, sizeof(text) - 1, "{:.16e}", value).out;
    *end = '\0';
    std::string all;
    const char* p = text;
    while (*p != 'e') {
        if (*p >= '0' && *p <= '9') {
            all += *p;
        }
        ++p;
    }
    exponent = std::atoi(p + 1);
    bool up = all[kPrecision] >= '5';
    // "50" in the 16th and 17th digits may stand for anything from ...495 to ...505: the full
    // expansion decides.
    if (all[kPrecision] == '5' && all[kPrecision + 1] == '0') {
        int exact_exponent = 0;
        std::string exact = ExactDigits(value, exact_exponent);
        up = exact_exponent == exponent && exact.compare(kPrecision, 1, "5") >= 0;
        if (exact_exponent != exponent) {
            up = exact_exponent > exponent;
        }
    }
    std::copy(all.begin(), all.begin() + kPrecision, digits);
    if (up) {
        int i = kPrecision - 1;
        while (i >= 0 && digits[i] == '9') {
            digits[i--] = '0';
        }
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            std::fill(digits + 1, digits + kPrecision, '0');
            ++exponent;
        }
    }
    return kPrecision;
}

__extension__ typedef unsigned __int128 Wide;

constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

void WritePair(char* out, uint32_t pair) {
    std::memcpy(out, kDigitPairs.data() + 2 * pair, 2);
}

// The 15 digits of 10^14 <= n < 10^15, two at a time in 32-bit arithmetic.
void WriteFifteenDigits(uint64_t n, char* out) {
    auto high = static_cast<uint32_t>(n / 100000000); // 7 digits
    auto low = static_cast<uint32_t>(n % 100000000);  // 8 digits
    out[0] = static_cast<char>('0' + high / 1000000);
    high %= 1000000;
    WritePair(out + 1, high / 10000);
    WritePair(out + 3, high / 100 % 100);
    WritePair(out + 5, high % 100);
    WritePair(out + 7, low / 1000000);
    WritePair(out + 9, low / 10000 % 100);
    WritePair(out + 11, low / 100 % 100);
    WritePair(out + 13, low % 100);
}

enum class Rounding { Done, ExponentTooHigh, ExponentTooLow, OutOfReach };

// The 15-digit rounding of a normal positive value whose first digit stands at 10^exponent,
// computed exactly in 128-bit integers: value = m * 2^e, and the digits are
// round(m * 2^e / 10^(exponent - 14)). The truncated quotient tells whether the first digit
// really stands there. OutOfReach when the numbers would not fit (very large or very small
// values), which then take the slower text route.
Rounding IntegerRound(double value, int exponent, char* digits, int& out_exponent) {
    static const Wide kPow10[] = {1,
                                  10,
                                  100,
                                  1000,
                                  10000,
                                  100000,
                                  1000000,
                                  10000000,
                                  100000000,
                                  1000000000,
                                  Wide{10000000000ull},
                                  Wide{100000000000ull},
                                  Wide{1000000000000ull},
                                  Wide{10000000000000ull},
                                  Wide{100000000000000ull},
                                  Wide{1000000000000000ull},
                                  Wide{10000000000000000ull},
                                  Wide{100000000000000000ull},
                                  Wide{1000000000000000000ull},
                                  Wide{10000000000000000000ull},
                                  Wide{10000000000000000000ull} * 10,
                                  Wide{10000000000000000000ull} * 100,
                                  Wide{10000000000000000000ull} * 1000};
    constexpr int kMaxPow = 22;
    constexpr Wide kLimit = Wide{1} << 120;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    Wide num = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    int e = biased - 1075;
    int k = exponent - (kPrecision - 1);
    if (e > 60 || e < -110 || k > kMaxPow || -k > kMaxPow) {
        return Rounding::OutOfReach;
    }
    Wide q = 0;
    bool up = false; // halves round away from zero
    if (k < 0) {
        // Below 10^14 the value has a fraction (e < 0): m * 10^-k fits in 127 bits and the
        // division by 2^-e is a shift, whose last bit shifted out is the half.
        if (e >= 0) {
            return Rounding::OutOfReach;
        }
        num *= kPow10[-k];
        q = num >> (-e - 1);
        up = (q & 1) != 0;
        q >>= 1;
    } else {
        Wide den = 1;
        if (e >= 0) {
            num <<= e;
        } else {
            den <<= -e;
        }
        if (den > kLimit / kPow10[k]) {
            return Rounding::OutOfReach;
        }
        den *= kPow10[k];
        q = num / den;
        const Wide r = num - q * den;
        up = r >= den - r;
    }
    const auto low = static_cast<uint64_t>(kPow10[kPrecision - 1]);
    const auto high = static_cast<uint64_t>(kPow10[kPrecision]);
    if (q < low) {
        return Rounding::ExponentTooHigh;
    }
    if (q >= high) {
        return Rounding::ExponentTooLow;
    }
    auto n = static_cast<uint64_t>(q) + (up ? 1 : 0);
    out_exponent = exponent;
    if (n == high) {
        n = low;
        ++out_exponent;
    }
    WriteFifteenDigits(n, digits);
    return Rounding::Done;
}

// The rounding in integers from an estimate of the decimal exponent: floor(e2 * log10(2)) is the
// exponent of the first digit or one less.
bool FastRound(double value, char* digits, int& exponent) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    const int e2 = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    int guess = (e2 * 78913) >> 18;
    for (int attempt = 0; attempt < 2; ++attempt) {
        switch (IntegerRound(value, guess, digits, exponent)) {
        case Rounding::Done:
            return true;
        case Rounding::ExponentTooLow:
            ++guess;
            break;
        case Rounding::ExponentTooHigh:
            --guess;
            break;
        case Rounding::OutOfReach:
            return false;
        }
    }
    return false;
}

// Up to 15 significant digits of |value| (no trailing zeros) and the decimal exponent of the
// first digit: value = 0.d1d2d3... * 10^(exponent + 1).
int Digits(double value, char* digits, int& exponent) {
    const bool normal = value >= 2.2250738585072014e-308;
    // The shortest form of a value with 15 digits or fewer is the nearest 15-digit number (a
    // double is far closer to it than half a unit of the 15th digit), so one exact rounding
    // serves both kinds of value within its reach.
    int count = kPrecision;
    if (normal && FastRound(value, digits, exponent)) {
        while (count > 1 && digits[count - 1] == '0') {
            --count;
        }
        return count;
    }
    // The shortest round-trip form is exact enough whenever it has 15 digits or fewer; longer
    // ones are rounded to 15 digits.
    auto dec = fmt::detail::dragonbox::to_decimal(value);
    count = 1;
    for (uint64_t limit = 10; count < 20 && dec.significand >= limit; limit *= 10) {
        ++count;
    }
    // Subnormal numbers carry fewer digits than 15, so their shortest form is not the rounded one.
    if (count <= kPrecision && normal) {
        fmt::format_int text(dec.significand);
        std::memcpy(digits, text.data(), static_cast<size_t>(count));
        exponent = dec.exponent + count - 1;
    } else if (normal && IntegerRound(value, dec.exponent + count - 1, digits, exponent) == Rounding::Done) {
        count = kPrecision;
    } else {
        count = RoundedDigits(value, digits, exponent);
    }
    while (count > 1 && digits[count - 1] == '0') {
        --count;
    }
    return count;
}

} // namespace

void AppendFloat(std::string& out, double value, char decimal_separator) {
    if (std::isnan(value)) {
        out += "Nan";
        return;
    }
    if (std::isinf(value)) {
        out += value > 0 ? "+Inf" : "-Inf";
        return;
    }
    if (value == 0) {
        out += '0';
        return;
    }
    char buffer[48];
    char* p = buffer;
    if (value < 0) {
        *p++ = '-';
        value = -value;
    }
    // Whole numbers below 1E15 print as integers: the common case of metering values.
    if (value < 1e15 && value == std::floor(value)) {
        auto whole = static_cast<uint64_t>(value);
        p = fmt::format_to(p, "{}", whole);
        out.append(buffer, static_cast<size_t>(p - buffer));
        return;
    }
    // Zeros past the significant digits, and room to copy 16 bytes from any digit on.
    char digits[32];
    std::memset(digits, '0', sizeof(digits));
    int exponent = 0;
    const int count = Digits(value, digits, exponent);
    if (exponent >= kPrecision || exponent < -5) {
        *p++ = digits[0];
        if (count > 1) {
            *p++ = decimal_separator;
            std::memcpy(p, digits + 1, 16);
            p += count - 1;
        }
        *p++ = 'E';
        p = fmt::format_to(p, "{}", exponent);
    } else if (exponent < 0) {
        *p++ = '0';
        *p++ = decimal_separator;
        std::memset(p, '0', 4);
        p += -exponent - 1;
        std::memcpy(p, digits, 16);
        p += count;
    } else {
        // The integer part is digits 0..exponent, zeros included.
        std::memcpy(p, digits, 16);
        p += exponent + 1;
        if (count > exponent + 1) {
            *p = decimal_separator;
            std::memcpy(p + 1, digits + exponent + 1, 16);
            p += count - exponent;
        }
    }
    out.append(buffer, static_cast<size_t>(p - buffer));
}

std::string FloatToText(double value, char decimal_separator) {
    std::string text;
    AppendFloat(text, value, decimal_separator);
    return text;
}

namespace {
std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
        text.remove_suffix(1);
    }
    return text;
}
} // namespace

bool ParseFloat(std::string_view text, char decimal_separator, double& value) {
    text = TrimBlanks(text);
    if (text.empty() || text.size() > 64) {
        return false;
    }
    char buffer[72];
    size_t n = 0;
    bool digit_seen = false;
    for (char c : text) {
        if (c == decimal_separator) {
            c = '.';
        } else if (c == '.') {
            c = '.';
        } else if (c >= '0' && c <= '9') {
            digit_seen = true;
        } else if (c != '+' && c != '-' && c != 'e' && c != 'E') {
            return false;
        }
        buffer[n++] = c;
    }
    buffer[n] = '\0';
    if (!digit_seen) {
        return false;
    }
    char* end = nullptr;
    double parsed = std::strtod(buffer, &end);
    if (end != buffer + n || std::isinf(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseInt(std::string_view text, int32_t& value) {
    // Blanks may lead, not trail, as StrToInt has it.
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return false;
    }
    int64_t result = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return false;
        }
        result = result * base + digit;
        if (result > (base == 16 ? int64_t{0xFFFFFFFF} : int64_t{0x80000000})) {
            return false;
        }
    }
    if (base == 16) {
        value = static_cast<int32_t>(static_cast<uint32_t>(result));
        if (negative) {
            value = static_cast<int32_t>(0u - static_cast<uint32_t>(value));
        }
        return true;
    }
    if (negative) {
        result = -result;
    }
    if (result > INT32_MAX || result < INT32_MIN) {
        return false;
    }
    value = static_cast<int32_t>(result);
    return true;
}

} // namespace tl::script
