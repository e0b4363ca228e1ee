#include "tlcommon/format_settings.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

class FormatSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { ResetSystemFormat(); }
};

TEST_F(FormatSettingsTest, FixedNotationUsesTheSystemSeparator) {
    SetSystemDecimalSeparator('.');
    EXPECT_EQ(FormatFixed(0.1234, 2), "0.12");
    EXPECT_EQ(FormatFixed(-2.005, 2), "-2.00"); // binary value below the half
    SetSystemDecimalSeparator(',');
    EXPECT_EQ(FormatFixed(0.1234, 2), "0,12");
    EXPECT_EQ(FormatFixed(700, 2), "700,00");
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
