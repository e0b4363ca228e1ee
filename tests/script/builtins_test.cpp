// The built-in library: one table per family, each row an expression and its printed value.
#include "script_test_util.hpp"

#include <gtest/gtest.h>

namespace tl::script {
namespace {

using testing::RunScript;

struct BuiltinCase {
    const char* expression;
    const char* printed;
};

class BuiltinTest : public ::testing::TestWithParam<BuiltinCase> {};

TEST_P(BuiltinTest, Evaluates) {
    auto result = RunScript(std::string("Print(") + GetParam().expression + ");");
    EXPECT_EQ(result.messages, "") << GetParam().expression;
    EXPECT_EQ(result.output, GetParam().printed) << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(
    Math, BuiltinTest,
    ::testing::Values(BuiltinCase{"Abs(-3)", "3"}, BuiltinCase{"Abs(-2.5)", "2.5"},
                      BuiltinCase{"Sqr(-4)", "16"}, BuiltinCase{"Sqr(1.5)", "2.25"},
                      BuiltinCase{"Sqrt(2)", "1.4142135623731"}, BuiltinCase{"Round(2.5)", "2"},
                      BuiltinCase{"Round(3.5)", "4"}, BuiltinCase{"Round(-2.5)", "-2"},
                      BuiltinCase{"Round(-2.6)", "-3"}, BuiltinCase{"Round(0.49999999999999994)", "0"},
                      BuiltinCase{"Trunc(-2.7)", "-2"}, BuiltinCase{"Int(-2.5)", "-2"},
                      BuiltinCase{"Frac(-2.5)", "-0.5"}, BuiltinCase{"Exp(1)", "2.71828182845905"},
                      BuiltinCase{"Ln(Exp(2))", "2"}, BuiltinCase{"Power(2, 10)", "1024"},
                      BuiltinCase{"Power(2, 0.5)", "1.4142135623731"}, BuiltinCase{"Power(-2, 3)", "-8"},
                      BuiltinCase{"Max(1, 2.5)", "2.5"}, BuiltinCase{"Max(3, 2)", "3"},
                      BuiltinCase{"Min(3, 4) div 2", "1"}, BuiltinCase{"Pi", "3.14159265358979"}));

INSTANTIATE_TEST_SUITE_P(
    Strings, BuiltinTest,
    ::testing::Values(BuiltinCase{"IntToStr(-5) + '|'", "-5|"}, BuiltinCase{"FloatToStr(0.1 + 0.2)", "0.3"},
                      BuiltinCase{"StrToInt(' 12') + StrToInt('$1A') + StrToInt('-0x10')", "22"},
                      BuiltinCase{"StrToFloat(' 1.5e1 ')", "15"}, BuiltinCase{"Length('hello')", "5"},
                      BuiltinCase{"Length('')", "0"}, BuiltinCase{"Copy('hello', 2, 3)", "ell"},
                      BuiltinCase{"Copy('hello', 0, 2)", "he"},
                      BuiltinCase{"Copy('hello', 4, 100) + '|' + Copy('hello', 10, 1) + '|'", "lo||"},
                      BuiltinCase{"Pos('ll', 'hello')", "3"}, BuiltinCase{"Pos('', 'abc')", "0"},
                      BuiltinCase{"Pos('z', 'abc')", "0"}, BuiltinCase{"Chr(65) + Chr(98)", "Ab"},
                      BuiltinCase{"Ord('A') + Ord(True)", "66"}, BuiltinCase{"UpperCase('abcя1')", "ABCя1"},
                      BuiltinCase{"LowerCase('ABC')", "abc"},
                      BuiltinCase{"'[' + Trim('  a b \t') + ']'", "[a b]"}));

INSTANTIATE_TEST_SUITE_P(Dates, BuiltinTest,
                         ::testing::Values(BuiltinCase{"EncodeDate(1899, 12, 30)", "0"},
                                           BuiltinCase{"EncodeDate(2024, 3, 1) - EncodeDate(2024, 2, 28)",
                                                       "2"},
                                           BuiltinCase{"EncodeDate(2000, 1, 1)", "36526"}));

TEST(BuiltinTest, VarParametersAreWritten) {
    auto result = RunScript(
        "var y, m, d, h, n, s, ms, i: Integer;\n"
        "DecodeDate(EncodeDate(2024, 2, 29) + 0.75, y, m, d); DecodeTime(0.75 + 1 / 86400, h, n, s, ms);\n"
        "i := 1; Inc(i); Inc(i, 10); Dec(i, 3);\n"
        "Print(y); Print('-'); Print(m); Print('-'); Print(d); Print(' '); Print(h); Print(':'); "
        "Print(n); Print(':'); Print(s); Print(' '); Print(i);");
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, "2024-2-29 18:0:1 9");
}

TEST(BuiltinTest, IncNeedsAVariable) {
    auto result = RunScript("Inc(5);");
    EXPECT_EQ(testing::FirstMessage(result),
              "Синтаксическая ошибка: Argument 1 expects a variable [строка: 1, столбец: 5]");
}

TEST(BuiltinTest, EncodeDateRefusesInvalidDates) {
    auto result =
        RunScript("try EncodeDate(2023, 2, 29); except on E: EConvertError do Print(E.Message); end;");
    EXPECT_EQ(result.output, "Invalid argument to date encode");
}

} // namespace
} // namespace tl::script
