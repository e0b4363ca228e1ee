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

struct RaiseCase {
    const char* statement;
    const char* caught; // class name and message
};

class BuiltinErrorTest : public ::testing::TestWithParam<RaiseCase> {};

TEST_P(BuiltinErrorTest, RaisesItsClassAndText) {
    auto result = RunScript(std::string("var s: String; s := 'abc';\ntry ") + GetParam().statement +
                            " except on E: Exception do Print(E.ClassName + ': ' + E.Message); end;");
    EXPECT_EQ(result.messages, "") << GetParam().statement;
    EXPECT_EQ(result.output, GetParam().caught) << GetParam().statement;
}

INSTANTIATE_TEST_SUITE_P(
    Strings, BuiltinErrorTest,
    ::testing::Values(RaiseCase{"Print(CharAt(s, 4));", "ERangeError: Out of string range: index 4"},
                      RaiseCase{"SetCharAt(s, 0, 'x');", "ERangeError: Out of string range: index 0"},
                      RaiseCase{"Print(StrToInt('я1'));", "EConvertError: \"я1\" is an invalid integer"},
                      RaiseCase{"Print(StrToFloat('1,5'));", "EConvertError: \"1,5\" is an invalid float"}));

INSTANTIATE_TEST_SUITE_P(
    Dates, BuiltinErrorTest,
    ::testing::Values(
        RaiseCase{"Print(StrToDate('31.02.2024'));", "EConvertError: \"31.02.2024\" is not a valid date"},
        RaiseCase{"Print(StrToDate('1.2.3.4'));", "EConvertError: \"1.2.3.4\" is not a valid date"},
        RaiseCase{"Print(StrToDate('1.2.10000'));", "EConvertError: \"1.2.10000\" is not a valid date"},
        RaiseCase{"Print(StrToDate(''));", "EConvertError: \"\" is not a valid date"},
        RaiseCase{"Print(StrToTime('24:00'));", "EConvertError: \"24:00\" is not a valid time"},
        RaiseCase{"Print(StrToTime('7:60'));", "EConvertError: \"7:60\" is not a valid time"},
        RaiseCase{"Print(StrToTime('7:08.5'));", "EConvertError: \"7:08.5\" is not a valid time"},
        RaiseCase{"Print(StrToDateTime('1.1.2024 x'));",
                  "EConvertError: \"1.1.2024 x\" is not a valid date and time"},
        RaiseCase{"Print(IncMonth(EncodeDate(9999, 12, 1), 1));",
                  "EConvertError: Invalid argument to date encode"},
        RaiseCase{"Print(IncMonth(EncodeDate(1, 1, 1), -1));",
                  "EConvertError: Invalid argument to date encode"},
        RaiseCase{"Print(DateToStr(1e10));", "EConvertError: Invalid argument to date decode"},
        RaiseCase{"Print(DayOfWeek(-1e7));", "EConvertError: Invalid argument to date decode"},
        RaiseCase{"Print(EncodeTime(24, 0, 0, 0));", "EConvertError: Invalid argument to time encode"}));

// Beyond what the Math unit's routines share: overflowing results and ArcCosh below 1.
INSTANTIATE_TEST_SUITE_P(
    Math, BuiltinErrorTest,
    ::testing::Values(RaiseCase{"Print(RadToDeg(1e308));", "EOverflow: Floating point overflow"},
                      RaiseCase{"Print(Hypot(1.5e308, 1.5e308));", "EOverflow: Floating point overflow"},
                      RaiseCase{"Print(ArcCosh(-1));", "EInvalidOp: Invalid floating point operation"}));

// Indexes below 1, where Pascal dialects disagree: Delete does nothing, Insert inserts first.
TEST(BuiltinTest, EditsBeforeTheFirstCharacter) {
    auto result = RunScript("var s: String;\n"
                            "s := 'abc'; Delete(s, 0, 2); Delete(s, -1, 5); Delete(s, 2, -1); PrintLn(s);\n"
                            "Insert('X', s, 0); Insert('Y', s, -7); PrintLn(s);");
    EXPECT_EQ(result.output, "abc\r\nYXabc\r\n");
}

TEST(BuiltinTest, ConversionsUseTheDecimalSeparator) {
    EngineSettings settings;
    settings.decimal_separator = ',';
    Engine engine(settings);
    auto result = RunScript(engine, "PrintLn(StrToFloatDef('2,5', 0)); PrintLn(StrToFloatDef('2.5', 0));\n"
                                    "PrintLn(StrToFloatDef('2;5', 1)); PrintLn(FloatToStr(0.5));");
    EXPECT_EQ(result.output, "2,5\r\n2,5\r\n1\r\n0,5\r\n");
}

} // namespace
} // namespace tl::script
