// Number texts: Float formatting with either separator, and the parsing rules of StrToFloat and
// StrToInt that scripts and the driver's output reader rely on.
#include "float_format.hpp"

#include <cmath>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace tl::script {
namespace {

TEST(FloatTextTest, DecimalCommaGoesEverywhereAPointWould) {
    EXPECT_EQ(FloatToText(12.5, ','), "12,5");
    EXPECT_EQ(FloatToText(-0.00001234, ','), "-0,00001234");
    EXPECT_EQ(FloatToText(1.5e-300, ','), "1,5E-300");
    EXPECT_EQ(FloatToText(1e20, ','), "1E20");
}

TEST(FloatTextTest, RoundsToFifteenDigitsAcrossTheExponentBoundary) {
    EXPECT_EQ(FloatToText(0.99999999999999999, '.'), "1");
    EXPECT_EQ(FloatToText(9.9999999999999995e14, '.'), "1E15");
    EXPECT_EQ(FloatToText(1e14 + 0.5, '.'), "100000000000001");
    EXPECT_EQ(FloatToText(2.0 / 3, '.'), "0.666666666666667");
    EXPECT_EQ(FloatToText(1e-310, '.'), "9.99999999999997E-311");
}

struct ParseCase {
    const char* text;
    char separator;
    bool ok;
    double value;
};

class ParseFloatTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseFloatTest, AcceptsWhatStrToFloatAccepts) {
    double value = -1;
    EXPECT_EQ(ParseFloat(GetParam().text, GetParam().separator, value), GetParam().ok) << GetParam().text;
    if (GetParam().ok) {
        EXPECT_DOUBLE_EQ(value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseFloatTest,
                         ::testing::Values(ParseCase{"1.5", '.', true, 1.5}, ParseCase{" 2 ", '.', true, 2},
                                           ParseCase{"\t-3e2", '.', true, -300},
                                           ParseCase{".5", '.', true, 0.5}, ParseCase{"5.", '.', true, 5},
                                           ParseCase{"+3", '.', true, 3}, ParseCase{"12,5", ',', true, 12.5},
                                           ParseCase{"12.5", ',', true, 12.5},
                                           ParseCase{"12,5", '.', false, 0}, ParseCase{"", '.', false, 0},
                                           ParseCase{"-", '.', false, 0}, ParseCase{"1e", '.', false, 0},
                                           ParseCase{"1.5x", '.', false, 0}, ParseCase{"0x10", '.', false, 0},
                                           ParseCase{"inf", '.', false, 0},
                                           ParseCase{"1e400", '.', false, 0}));

struct IntCase {
    const char* text;
    bool ok;
    int32_t value;
};

class ParseIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseIntTest, AcceptsWhatStrToIntAccepts) {
    int32_t value = -1;
    EXPECT_EQ(ParseInt(GetParam().text, value), GetParam().ok) << GetParam().text;
    if (GetParam().ok) {
        EXPECT_EQ(value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseIntTest,
                         ::testing::Values(IntCase{"42", true, 42}, IntCase{" -7", true, -7},
                                           IntCase{"+12", true, 12}, IntCase{"$1A", true, 26},
                                           IntCase{"0x1a", true, 26}, IntCase{"$FFFFFFFF", true, -1},
                                           IntCase{"-2147483648", true, INT32_MIN},
                                           IntCase{"2147483648", false, 0}, IntCase{"12 ", false, 0},
                                           IntCase{"1.0", false, 0}, IntCase{"", false, 0},
                                           IntCase{"$", false, 0}, IntCase{"$1FFFFFFFF", false, 0}));

} // namespace
} // namespace tl::script

namespace tl::script {
namespace {

// Significant digits (no trailing zeros) and the exponent of the first digit, read back from a
// printed Float.
std::pair<std::string, int> DigitsOf(std::string text) {
    if (text[0] == '-') {
        text.erase(0, 1);
    }
    int exponent = 0;
    size_t e = text.find('E');
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

// The rule written out on the exact decimal expansion: 15 digits, halves away from zero.
std::pair<std::string, int> Expected(double value) {
    std::string exact = fmt::format("{:.780e}", std::fabs(value));
    int exponent = std::stoi(exact.substr(exact.find('e') + 1));
    std::string digits = exact.substr(0, 1) + exact.substr(2, 15);
    if (digits.size() > 15 && digits[15] >= '5') {
        int i = 14;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9') {
            digits[static_cast<size_t>(i--)] = '0';
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++exponent;
        } else {
            ++digits[static_cast<size_t>(i)];
        }
    }
    digits.resize(15);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    return {digits, exponent};
}

TEST(FloatTextTest, AgreesWithTheExactExpansionOnRandomValues) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> exponent(-320, 300);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    for (int i = 0; i < 20000; ++i) {
        // Values of every magnitude, and values that sit on a 15-digit half (ties).
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        if (i % 4 == 0) {
            value = (std::floor(mantissa(random) * 1e14) + 0.5) * std::pow(10.0, exponent(random) % 20 - 14);
        }
        if (!std::isfinite(value) || value == 0) {
            continue;
        }
        ASSERT_EQ(DigitsOf(FloatToText(value, '.')), Expected(value)) << fmt::format("{:.17g}", value);
    }
}

// The magnitudes of metering values, from 1E-10 to 1E23: the neighbours of each power of ten,
// values a hair below one (which round up to it), 15-digit halves and random values.
TEST(FloatTextTest, AgreesWithTheExactExpansionAroundPowersOfTen) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    for (int exponent = -10; exponent <= 23; ++exponent) {
        const double power = std::pow(10.0, exponent);
        std::vector<double> values = {power,
                                      std::nextafter(power, 0.0),
                                      std::nextafter(power, HUGE_VAL),
                                      power * (1 - 4e-16),
                                      power * (1 - 6e-16),
                                      power * 9.99999999999995,
                                      power * 9.999999999999949};
        for (int i = 0; i < 200; ++i) {
            values.push_back(mantissa(random) * power);
            values.push_back((std::floor(mantissa(random) * 1e14) + 0.5) * power * 1e-14);
        }
        for (double value : values) {
            ASSERT_EQ(DigitsOf(FloatToText(value, '.')), Expected(value)) << fmt::format("{:.17g}", value);
            ASSERT_EQ(FloatToText(-value, '.'), "-" + FloatToText(value, '.'));
        }
    }
}

} // namespace
} // namespace tl::script
