// Reading the run script's output: lines, and the result values in them.
#include "tlassembly/output_lines.hpp"
#include "tlcommon/format_settings.hpp"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <random>

namespace tl {
namespace {

TEST(OutputLines, TrimsBothEndsAndCutsAtLineBreaks) {
    const struct {
        const char* output;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"", {}},
        {" \r\n\t\r\n", {}},
        {"Result0=1\r\nResult1=2\r\n", {"Result0=1", "Result1=2"}},
        // Inner empty lines stay: they shift the pairing like any other line.
        {"\r\n  A\nB \r\n\r\nC\r\n\r\n", {"A", "B ", "", "C"}},
        {"one line", {"one line"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string_view> lines = {"left over"};
        SplitOutputLines(c.output, lines);
        EXPECT_EQ(lines, c.lines) << ::testing::PrintToString(std::string(c.output));
    }
}

// Each line is read under both system decimal separators; a failed conversion names the text
// with the system's separator.
TEST(OutputLines, ValuesParseWithEitherSeparator) {
    const struct {
        int result;
        const char* line;
        bool found;
        double value;
        const char* error;
    } cases[] = {
        {0, "Result0=12,5", true, 12.5, ""},
        {0, "Result0=12.5", true, 12.5, ""},
        {1, "Result1=-1,5E-7", true, -1.5e-7, ""},
        {1, "Result1=Err:Division by zero", true, 0, "Division by zero"},
        {0, "Result0=abc", true, 0, "\"abc\" is an invalid float"},
        {0, "Result0=", true, 0, "\"\" is an invalid float"},
        // Not a line of that result: the other number, or another letter case.
        {0, "Result1=5", false, 0, ""},
        {0, "result0=5", false, 0, ""},
        // The tag may stand anywhere; the value is what follows the first "=".
        {0, "a=1;Result0=3", true, 0, "\"1;Result0=3\" is an invalid float"},
    };
    for (const char separator : {'.', ','}) {
        SetSystemDecimalSeparator(separator);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.line) + " with " + separator);
            const OutputValue v = ParseOutputLine(c.result, c.line);
            EXPECT_EQ(v.found, c.found);
            EXPECT_DOUBLE_EQ(v.value, c.value);
            EXPECT_EQ(v.error, c.error);
        }
    }
    SetSystemDecimalSeparator(',');
    EXPECT_EQ(ParseOutputLine(0, "Result0=1.2.3").error, "\"1,2,3\" is an invalid float");
    SetSystemDecimalSeparator('.');
    EXPECT_EQ(ParseOutputLine(0, "Result0=1,2,3").error, "\"1.2.3\" is an invalid float");
    ResetSystemFormat();
}

// Plain numbers take a shortcut: each comes out bit for bit as the full conversion gives it, at the
// shortcut's limits (2^53 and past it, 17 digits, 22 and 23 after the separator, more digits than an
// integer holds) and as formulas print them.
TEST(OutputLines, PlainNumbersReadAsTheFullConversionReadsThem) {
    std::vector<std::string> texts = {"0",
                                      "-0",
                                      "00012",
                                      "0,1",
                                      "12.",
                                      "0.000123456789012345",
                                      "123456789.123456",
                                      "9007199254740992",
                                      "9007199254740993",
                                      "-0.30000000000000004",
                                      "0.0000000000000000000001",
                                      "0.00000000000000000000012",
                                      "1234567890123456789012345678"};
    std::mt19937_64 random(13);
    std::uniform_real_distribution<double> exponent(-8, 16);
    for (int i = 0; i < 2000; ++i) {
        const double value = std::pow(10.0, exponent(random)) * (i % 2 == 0 ? 1 : -1);
        texts.push_back(fmt::format("{:.15f}", value));
        texts.push_back(fmt::format("{:.15g}", value));
    }
    for (std::string text : texts) {
        const OutputValue parsed = ParseOutputLine(1, "Result1=" + text);
        std::replace(text.begin(), text.end(), ',', '.');
        double expected = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_TRUE(ec == std::errc() && end == text.data() + text.size()) << text;
        EXPECT_EQ(std::bit_cast<uint64_t>(parsed.value), std::bit_cast<uint64_t>(expected)) << text;
        EXPECT_TRUE(parsed.found && parsed.error.empty()) << text;
    }
}

} // namespace
} // namespace tl
