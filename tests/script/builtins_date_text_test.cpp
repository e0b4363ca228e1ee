// Date-times as text in the engine's formats (dd.mm.yyyy, hh:nn:ss) and back, and the clock.
#include "script_test_util.hpp"

#include <gtest/gtest.h>

namespace tl::script {
namespace {

using testing::RunScript;

struct DateCase {
    const char* expression;
    const char* printed;
};

class DateTextTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateTextTest, Evaluates) {
    auto result =
        RunScript(std::string("var t: Float; t := EncodeDate(2024, 2, 9) + EncodeTime(7, 8, 9, 10);\n"
                              "Print(") +
                  GetParam().expression + ");");
    EXPECT_EQ(result.messages, "") << GetParam().expression;
    EXPECT_EQ(result.output, GetParam().printed) << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(
    ToText, DateTextTest,
    ::testing::Values(DateCase{"DateToStr(t)", "09.02.2024"}, DateCase{"TimeToStr(t)", "07:08:09"},
                      DateCase{"DateTimeToStr(t)", "09.02.2024 07:08:09"},
                      DateCase{"DateTimeToStr(Int(t))", "09.02.2024"},
                      DateCase{"DateTimeToStr(Int(t) + EncodeTime(0, 0, 0, 1))", "09.02.2024"},
                      DateCase{"DateTimeToStr(0.5)", "30.12.1899 12:00:00"},
                      DateCase{"TimeToStr(EncodeTime(23, 59, 59, 999))", "23:59:59"},
                      DateCase{"FormatDateTime('c|t|tt|ddddd', t)",
                               "09.02.2024 07:08:09|07:08|07:08:09|09.02.2024"},
                      DateCase{"FormatDateTime('d/m/yy', t)", "9.2.24"},
                      DateCase{"FormatDateTime('tt am/pm', t + 0.5)", "07:08:09 pm"},
                      DateCase{"DateToStr(-1.25) + ' ' + TimeToStr(-1.25)", "29.12.1899 06:00:00"},
                      DateCase{"FormatDateTime('hh:nn:ss.zzz', Int(t) + 0.9999999999)", "00:00:00.000"}));

INSTANTIATE_TEST_SUITE_P(
    FromText, DateTextTest,
    ::testing::Values(
        DateCase{"StrToDate('09.02.2024') = EncodeDate(2024, 2, 9)", "True"},
        DateCase{"StrToDate(' 9.2.2024 ') = EncodeDate(2024, 2, 9)", "True"},
        DateCase{"StrToDate('29.02.2024') = EncodeDate(2024, 2, 29)", "True"},
        DateCase{"StrToTime('7:08') = EncodeTime(7, 8, 0, 0)", "True"},
        DateCase{"StrToTime('07:08:09') = EncodeTime(7, 8, 9, 0)", "True"},
        DateCase{"StrToTime('7:08:09.250') = EncodeTime(7, 8, 9, 250)", "True"},
        DateCase{"StrToDateTime('09.02.2024 07:08:09') = EncodeDate(2024, 2, 9) + EncodeTime(7, 8, 9, 0)",
                 "True"},
        DateCase{"StrToDateTime('09.02.2024') = EncodeDate(2024, 2, 9)", "True"},
        DateCase{"DateTimeToStr(StrToDateTime(DateTimeToStr(t)))", "09.02.2024 07:08:09"}));

// The two-digit and the missing year both count from today.
TEST(DateTextTest, ShortYearsCountFromThisYear) {
    auto result =
        RunScript("var y, m, d: Integer; DecodeDate(Date, y, m, d);\n"
                  "PrintLn(StrToDate('1.1.' + Copy(IntToStr(y), 3, 2)) = EncodeDate(y, 1, 1));\n"
                  "PrintLn(StrToDate('1.1') = EncodeDate(y, 1, 1));\n"
                  "PrintLn(StrToDate('1.1.' + Copy(IntToStr(y + 49), 3, 2)) = EncodeDate(y + 49, 1, 1));\n"
                  "PrintLn(StrToDate('1.1.' + Copy(IntToStr(y + 51), 3, 2)) = EncodeDate(y - 49, 1, 1));");
    EXPECT_EQ(result.output, "True\r\nTrue\r\nTrue\r\nTrue\r\n");
}

TEST(DateTextTest, ClockFunctionsAgree) {
    auto result = RunScript("var n, d, t: Float; d := Date; t := Time; n := Now;\n"
                            "PrintLn(d = Int(d)); PrintLn((t >= 0) and (t < 1));\n"
                            "PrintLn(Abs(n - (d + t)) < 1 / 86400); PrintLn(d > EncodeDate(2020, 1, 1));");
    EXPECT_EQ(result.output, "True\r\nTrue\r\nTrue\r\nTrue\r\n");
}

} // namespace
} // namespace tl::script
