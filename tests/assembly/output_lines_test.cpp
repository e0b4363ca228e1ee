// Reading the run script's output: lines, and the result values in them.
#include "tlassembly/output_lines.hpp"
#include "tlcommon/format_settings.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

struct SplitCase {
    const char* output;
    std::vector<std::string_view> lines;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(std::string(c.output));
}

class OutputSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(OutputSplit, TrimsBothEndsAndCutsAtLineBreaks) {
    std::vector<std::string_view> lines = {"left over"};
    SplitOutputLines(GetParam().output, lines);
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, OutputSplit,
    ::testing::Values(SplitCase{"", {}}, SplitCase{" \r\n\t\r\n", {}},
                      SplitCase{"Result0=1\r\nResult1=2\r\n", {"Result0=1", "Result1=2"}},
                      // Inner empty lines stay: they shift the pairing like any other line.
                      SplitCase{"\r\n  A\nB \r\n\r\nC\r\n\r\n", {"A", "B ", "", "C"}},
                      SplitCase{"one line", {"one line"}}));

struct LineCase {
    int result;
    const char* line;
    bool found;
    double value;
    const char* error;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.result << " " << ::testing::PrintToString(std::string(c.line));
}

// Each case runs with both system decimal separators.
class OutputValueLine : public ::testing::TestWithParam<std::tuple<LineCase, char>> {
protected:
    void TearDown() override { ResetSystemFormat(); }
};

TEST_P(OutputValueLine, ParsesWithEitherSeparator) {
    const auto& [c, separator] = GetParam();
    SetSystemDecimalSeparator(separator);
    const OutputValue v = ParseOutputLine(c.result, c.line);
    EXPECT_EQ(v.found, c.found);
    EXPECT_DOUBLE_EQ(v.value, c.value);
    EXPECT_EQ(v.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, OutputValueLine,
    ::testing::Combine(
        ::testing::Values(LineCase{0, "Result0=12,5", true, 12.5, ""},
                          LineCase{0, "Result0=12.5", true, 12.5, ""},
                          LineCase{1, "Result1=-1,5E-7", true, -1.5e-7, ""},
                          LineCase{1, "Result1=Err:Division by zero", true, 0, "Division by zero"},
                          LineCase{0, "Result0=abc", true, 0, "\"abc\" is an invalid float"},
                          LineCase{0, "Result0=", true, 0, "\"\" is an invalid float"},
                          // Not a line of that result: the other number, or another letter case.
                          LineCase{0, "Result1=5", false, 0, ""}, LineCase{1, "Result0=5", false, 0, ""},
                          LineCase{0, "result0=5", false, 0, ""},
                          // The tag may stand anywhere; the value is what follows the first "=".
                          LineCase{0, "a=1;Result0=3", true, 0, "\"1;Result0=3\" is an invalid float"}),
        ::testing::Values('.', ',')));

TEST(OutputValueLine, FailedConversionNamesTheTextWithTheSystemSeparator) {
    SetSystemDecimalSeparator(',');
    EXPECT_EQ(ParseOutputLine(0, "Result0=1.2.3").error, "\"1,2,3\" is an invalid float");
    SetSystemDecimalSeparator('.');
    EXPECT_EQ(ParseOutputLine(0, "Result0=1,2,3").error, "\"1.2.3\" is an invalid float");
    ResetSystemFormat();
}

} // namespace
} // namespace tl
