// The built-in library's error classes and texts, and the decimal separator of its conversions.
// Its values are the differential corpus's (cases/, and own/ where Free Pascal differs).
#include "script_test_util.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace tl::script {
namespace {

using testing::ExpectOutputs;

TEST(BuiltinTest, RaisesItsClassAndText) {
    ExpectOutputs(
        {{"Print(CharAt(s, 4));", "ERangeError: Out of string range: index 4"},
         {"SetCharAt(s, 0, 'x');", "ERangeError: Out of string range: index 0"},
         {"Print(StrToInt('я1'));", "EConvertError: \"я1\" is an invalid integer"},
         {"Print(StrToFloat('1,5'));", "EConvertError: \"1,5\" is an invalid float"},
         {"Print(StrToDate('31.02.2024'));", "EConvertError: \"31.02.2024\" is not a valid date"},
         {"Print(StrToDate('1.2.3.4'));", "EConvertError: \"1.2.3.4\" is not a valid date"},
         {"Print(StrToDate('1.2.10000'));", "EConvertError: \"1.2.10000\" is not a valid date"},
         {"Print(StrToDate(''));", "EConvertError: \"\" is not a valid date"},
         {"Print(StrToTime('24:00'));", "EConvertError: \"24:00\" is not a valid time"},
         {"Print(StrToTime('7:08.5'));", "EConvertError: \"7:08.5\" is not a valid time"},
         {"Print(StrToDateTime('1.1.2024 x'));",
          "EConvertError: \"1.1.2024 x\" is not a valid date and time"},
         {"Print(IncMonth(EncodeDate(9999, 12, 1), 1));", "EConvertError: Invalid argument to date encode"},
         {"Print(IncMonth(EncodeDate(1, 1, 1), -1));", "EConvertError: Invalid argument to date encode"},
         {"Print(DateToStr(1e10));", "EConvertError: Invalid argument to date decode"},
         {"Print(EncodeTime(24, 0, 0, 0));", "EConvertError: Invalid argument to time encode"},
         {"Print(RadToDeg(1e308));", "EOverflow: Floating point overflow"},
         {"Print(Hypot(1.5e308, 1.5e308));", "EOverflow: Floating point overflow"}},
        "var s: String; s := 'abc';\ntry ",
        " except on E: Exception do Print(E.ClassName + ': ' + E.Message); end;");
}

TEST(BuiltinTest, ConversionsUseTheDecimalSeparator) {
    EngineSettings settings;
    settings.decimal_separator = ',';
    Engine engine(settings);
    ExpectOutputs(engine, {{"PrintLn(StrToFloatDef('2,5', 0)); PrintLn(StrToFloatDef('2.5', 0));\n"
                            "PrintLn(StrToFloatDef('2;5', 1)); PrintLn(FloatToStr(0.5));\n"
                            "PrintLn(FloatToStr(3E-7)); PrintLn(12.5);",
                            "2,5\r\n2,5\r\n1\r\n0,5\r\n3E-7\r\n12,5\r\n"}});
}

} // namespace
} // namespace tl::script
