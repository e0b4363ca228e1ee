#include "tlcommon/format_settings.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

class FormatSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { ResetSystemFormat(); }
};

// Values typed with three decimals: a typed half rounds away from zero even where the double
// lies just below it (2.005, 1.005) or just above it (0.015 rounds up either way).
TEST_F(FormatSettingsTest, FixedNotationRoundsTypedHalvesAwayFromZero) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    } const cases[] = {
        {0.125, 2, "0.13"},
        {0.135, 2, "0.14"},
        {2.005, 2, "2.01"},
        {1.005, 2, "1.01"},
        {-2.005, 2, "-2.01"},
        {0.015, 2, "0.02"},
        {0.1234, 2, "0.12"},
        {0.12499999, 2, "0.12"},
        {9.995, 2, "10.00"},
        {-0.001, 2, "0.00"},
        {-0.0, 2, "0.00"},
        {700, 2, "700.00"},
        {2.5, 0, "3"},
        {1e20, 2, "100000000000000000000.00"},
        {123456.785, 2, "123456.79"},
    };
    SetSystemDecimalSeparator('.');
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
    }
    SetSystemDecimalSeparator(',');
    EXPECT_EQ(FormatFixed(0.125, 2), "0,13");
    EXPECT_EQ(FormatFixed(-700, 2), "-700,00");
}

TEST_F(FormatSettingsTest, StrictConversionsAcceptEitherSeparator) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"0.5", 0.5},         {"0,5", 0.5},          {"-12,25", -12.25},
        {"+3", 3.0},          {"1e3", 1000.0},       {"", std::nullopt},
        {" 1", std::nullopt}, {"1 ", std::nullopt},  {"1,2,3", std::nullopt},
        {"x", std::nullopt},  {"+-1", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseFloatStrict(c.text), c.value) << c.text;
    }
    EXPECT_EQ(ParseIntStrict("700"), 700);
    EXPECT_EQ(ParseIntStrict("-1"), -1);
    EXPECT_EQ(ParseIntStrict("1.0"), std::nullopt);
    EXPECT_EQ(ParseIntStrict("99999999999"), std::nullopt);
    EXPECT_EQ(ParseIntStrict(""), std::nullopt);
}

} // namespace
} // namespace tl
