// Number texts: Float formatting with either separator, and the parsing rules of StrToFloat and
// StrToInt that scripts and the driver's output reader rely on, where the corpus's 022-035 float_
// and 094-096 str_ cases do not already print them.
#include "float_format.hpp"

#include <cmath>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <vector>

namespace tl::script {
namespace {

TEST(FloatTextTest, PrintsLikeFloatToStr) {
    const std::vector<std::tuple<double, char, const char*>> cases = {
        {-0.00001234, ',', "-0,00001234"},
        {1.5e-300, ',', "1,5E-300"},
        // Rounding to fifteen digits across the exponent boundary
        {0.99999999999999999, '.', "1"},
        {9.9999999999999995e14, '.', "1E15"},
        {1e14 + 0.5, '.', "100000000000001"}};
    for (const auto& [value, separator, text] : cases) {
        EXPECT_EQ(FloatToText(value, separator), text);
    }
}

struct ParseCase {
    const char* text;
    char separator; // 0: read as an Integer
    bool ok;
    double value;
};

TEST(NumberTextTest, ParsesWhatStrToFloatAndStrToIntAccept) {
    const std::vector<ParseCase> cases = {
        {" 2 ", '.', true, 2},      {"\t-3e2", '.', true, -300}, {".5", '.', true, 0.5},
        {"5.", '.', true, 5},       {"+3", '.', true, 3},        {"12,5", ',', true, 12.5},
        {"12.5", ',', true, 12.5},  {"12,5", '.', false, 0},     {"-", '.', false, 0},
        {"1e", '.', false, 0},      {"1.5x", '.', false, 0},     {"0x10", '.', false, 0},
        {"inf", '.', false, 0},     {"1e400", '.', false, 0},    {"0x1a", 0, true, 26},
        {"-0x10", 0, true, -16},    {"$FFFFFFFF", 0, true, -1},  {"2147483648", 0, false, 0},
        {"12 ", 0, false, 0},       {"1.0", 0, false, 0},        {"$", 0, false, 0},
        {"$1FFFFFFFF", 0, false, 0}};
    for (const ParseCase& c : cases) {
        double value = -1;
        int32_t integer = -1;
        const bool ok = c.separator == 0 ? ParseInt(c.text, integer) : ParseFloat(c.text, c.separator, value);
        EXPECT_EQ(ok, c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(c.separator == 0 ? integer : value, c.value) << c.text;
        }
    }
}

// Significant digits (no trailing zeros) and the exponent of the first digit of a printed number.
std::pair<std::string, int> DigitsOf(std::string text) {
    if (text[0] == '-') {
        text.erase(0, 1);
    }
    int exponent = 0;
    size_t e = text.find_first_of("Ee");
    if (e != std::string::npos) {
        exponent = std::stoi(text.substr(e + 1));
        text.resize(e);
    }
    size_t point = text.find('.');
    std::string digits = text;
    int integer_digits = static_cast<int>(point == std::string::npos ? text.size() : point);
    if (point != std::string::npos) {
        digits.erase(point, 1);
    }
    size_t first = digits.find_first_not_of('0');
    exponent += integer_digits - 1 - static_cast<int>(first);
    digits = digits.substr(first);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    return {digits, exponent};
}

// The rule written out on the exact decimal expansion: 15 digits, halves away from zero. fmt rounds
// the exact value to the nearest, so only an exact half needs the push away from zero.
std::pair<std::string, int> Expected(double value) {
    const double magnitude = std::fabs(value);
    const std::string exact = fmt::format("{:.780e}", magnitude);
    const bool half = exact[16] == '5' && exact.find_first_not_of('0', 17) == exact.find('e');
    return DigitsOf(fmt::format("{:.14e}", half ? std::nextafter(magnitude, HUGE_VAL) : magnitude));
}

// Values of every magnitude and values on a 15-digit half (ties); then the magnitudes of metering
// values, 1E-10 to 1E23, with the neighbours of each power of ten and values a hair below one.
TEST(FloatTextTest, AgreesWithTheExactExpansion) {
    std::vector<double> values;
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> exponent(-320, 300);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    for (int i = 0; i < 5000; ++i) {
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
        values.push_back((std::floor(mantissa(random) * 1e14) + 0.5) *
                         std::pow(10.0, exponent(random) % 20 - 14));
    }
    for (int e = -10; e <= 23; ++e) {
        const double power = std::pow(10.0, e);
        values.insert(values.end(), {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL),
                                     power * (1 - 4e-16), power * (1 - 6e-16), power * 9.99999999999995,
                                     power * 9.999999999999949});
        for (int i = 0; i < 200; ++i) {
            values.push_back(mantissa(random) * power);
            values.push_back((std::floor(mantissa(random) * 1e14) + 0.5) * power * 1e-14);
        }
    }
    for (double value : values) {
        if (!std::isfinite(value) || value == 0) {
            continue;
        }
        ASSERT_EQ(DigitsOf(FloatToText(value, '.')), Expected(value)) << fmt::format("{:.17g}", value);
        ASSERT_EQ(FloatToText(-value, '.'), "-" + FloatToText(value, '.'));
    }
}

} // namespace
} // namespace tl::script
