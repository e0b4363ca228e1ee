// Date-times as text in the engine's formats (dd.mm.yyyy, hh:nn:ss) and back, and the clock.
#include "script_test_util.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace tl::script {
namespace {

using testing::ExpectOutputs;

TEST(DateTextTest, FormatsAndReadsDateTimes) {
    // Each expression is printed with t = 09.02.2024 07:08:09.010.
    ExpectOutputs(
        {{"DateToStr(t)", "09.02.2024"},
         {"TimeToStr(t)", "07:08:09"},
         {"DateTimeToStr(t)", "09.02.2024 07:08:09"},
         {"DateTimeToStr(Int(t))", "09.02.2024"},
         {"DateTimeToStr(Int(t) + EncodeTime(0, 0, 0, 1))", "09.02.2024"},
         {"DateTimeToStr(0.5)", "30.12.1899 12:00:00"},
         {"TimeToStr(EncodeTime(23, 59, 59, 999))", "23:59:59"},
         {"FormatDateTime('c|t|tt|ddddd', t)", "09.02.2024 07:08:09|07:08|07:08:09|09.02.2024"},
         {"FormatDateTime('d/m/yy', t)", "9.2.24"},
         {"FormatDateTime('tt am/pm', t + 0.5)", "07:08:09 pm"},
         {"DateToStr(-1.25) + ' ' + TimeToStr(-1.25)", "29.12.1899 06:00:00"},
         {"FormatDateTime('hh:nn:ss.zzz', Int(t) + 0.9999999999)", "00:00:00.000"},
         {"StrToDate('09.02.2024') = EncodeDate(2024, 2, 9)", "True"},
         {"StrToDate(' 9.2.2024 ') = EncodeDate(2024, 2, 9)", "True"},
         {"StrToDate('29.02.2024') = EncodeDate(2024, 2, 29)", "True"},
         {"StrToTime('7:08') = EncodeTime(7, 8, 0, 0)", "True"},
         {"StrToTime('07:08:09') = EncodeTime(7, 8, 9, 0)", "True"},
         {"StrToTime('7:08:09.250') = EncodeTime(7, 8, 9, 250)", "True"},
         {"StrToDateTime('09.02.2024 07:08:09') = EncodeDate(2024, 2, 9) + EncodeTime(7, 8, 9, 0)", "True"},
         {"StrToDateTime('09.02.2024') = EncodeDate(2024, 2, 9)", "True"},
         {"DateTimeToStr(StrToDateTime(DateTimeToStr(t)))", "09.02.2024 07:08:09"}},
        "var t: Float; t := EncodeDate(2024, 2, 9) + EncodeTime(7, 8, 9, 10);\nPrint(", ");");
    // The two-digit and the missing year both count from today; the clock functions agree.
    ExpectOutputs({{"var y, m, d: Integer; DecodeDate(Date, y, m, d);\n"
                    "PrintLn(StrToDate('1.1.' + Copy(IntToStr(y), 3, 2)) = EncodeDate(y, 1, 1));\n"
                    "PrintLn(StrToDate('1.1') = EncodeDate(y, 1, 1));\n"
                    "PrintLn(StrToDate('1.1.' + Copy(IntToStr(y + 49), 3, 2)) = EncodeDate(y + 49, 1, 1));\n"
                    "PrintLn(StrToDate('1.1.' + Copy(IntToStr(y + 51), 3, 2)) = EncodeDate(y - 49, 1, 1));",
                    "True\r\nTrue\r\nTrue\r\nTrue\r\n"},
                   {"var n, d, t: Float; d := Date; t := Time; n := Now;\n"
                    "PrintLn(d = Int(d)); PrintLn((t >= 0) and (t < 1));\n"
                    "PrintLn(Abs(n - (d + t)) < 1 / 86400); PrintLn(d > EncodeDate(2020, 1, 1));",
                    "True\r\nTrue\r\nTrue\r\nTrue\r\n"}});
}

} // namespace
} // namespace tl::script
