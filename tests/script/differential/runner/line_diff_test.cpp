#include "line_diff.hpp"

#include <gtest/gtest.h>
#include <string>

namespace tl::differential {
namespace {

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(LineDiff, EqualTextsGiveNoReport) {
    EXPECT_EQ(LineDiff("", ""), "");
    EXPECT_EQ(LineDiff("a\r\nb\r\n", "a\r\nb\r\n"), "");
}

struct DiffCase {
    const char* name;
    std::string expected;
    std::string actual;
    std::vector<std::string> must_contain;
    std::vector<std::string> must_not_contain;
};

std::string CaseName(const ::testing::TestParamInfo<DiffCase>& param) {
    return param.param.name;
}

class LineDiffCases : public ::testing::TestWithParam<DiffCase> {};

TEST_P(LineDiffCases, ShowsTheDifference) {
    const auto& c = GetParam();
    std::string report = LineDiff(c.expected, c.actual);
    ASSERT_FALSE(report.empty()) << "texts differ, the report must say so";
    for (const auto& s : c.must_contain) {
        EXPECT_NE(report.find(s), std::string::npos) << "missing '" << s << "' in:\n" << report;
    }
    for (const auto& s : c.must_not_contain) {
        EXPECT_EQ(report.find(s), std::string::npos) << "unexpected '" << s << "' in:\n" << report;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineDiffCases,
    ::testing::Values(
        DiffCase{"carriage_return", "a\r\nb\r\n", "a\nb\r\n", {"-a\\r\n", "+a\n", " b\\r\n"}, {"-b"}},
        DiffCase{"missing_last_break", "x\r\n", "x\r", {"+x\\r  (no line break at the end)"}, {}},
        DiffCase{"inserted_line",
                 "1\n2\n3\n",
                 "1\n2\nextra\n3\n",
                 {"+extra\n", " 2\n", " 3\n"},
                 {"-1", "-2", "-3"}},
        DiffCase{"removed_line",
                 "1\n2\n3\n",
                 "1\n3\n",
                 {"-2\n", "@@ expected line 1, actual line 1 @@"},
                 {"+1", "+3"}},
        DiffCase{"empty_actual", "only\n", "", {"-only\n", "+++ actual (0 lines)"}, {}},
        DiffCase{"control_bytes", "a\tb\n", std::string("a\0b\n", 4), {"-a\\tb\n", "+a\\x00b\n"}, {}}),
    CaseName);

TEST(LineDiff, DistantChangesMakeSeparateHunksWithLimitedContext) {
    std::string expected;
    std::string actual;
    for (int i = 1; i <= 20; ++i) {
        expected += std::to_string(i) + "\n";
        actual += (i == 3 || i == 17 ? "changed" : std::to_string(i)) + "\n";
    }
    std::string report = LineDiff(expected, actual, 2);
    EXPECT_EQ(Count(report, "@@"), 4u) << report; // two hunk headers, each with two "@@"
    EXPECT_NE(report.find(" 1\n"), std::string::npos) << report;
    EXPECT_EQ(report.find(" 10\n"), std::string::npos) << "line 10 is beyond the context:\n" << report;
    EXPECT_EQ(Count(report, "+changed"), 2u) << report;
}

} // namespace
} // namespace tl::differential
