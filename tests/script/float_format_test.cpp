// Number texts: Float formatting with either separator, and the parsing rules of StrToFloat and
// StrToInt that scripts and the driver's output reader rely on.
#include "float_format.hpp"

#include <gtest/gtest.h>

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
