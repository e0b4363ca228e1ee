// The decimal separator of the built-in conversions, an engine setting. Their values, error
// classes and texts are the differential corpus's (cases/, and own/ where Free Pascal differs).
#include "script_test_util.hpp"

#include <gtest/gtest.h>

namespace tl::script {
namespace {

TEST(BuiltinTest, ConversionsUseTheDecimalSeparator) {
    EngineSettings settings;
    settings.decimal_separator = ',';
    Engine engine(settings);
    testing::ExpectOutputs(engine, {{"PrintLn(StrToFloatDef('2,5', 0)); PrintLn(StrToFloatDef('2.5', 0));\n"
                                     "PrintLn(StrToFloatDef('2;5', 1)); PrintLn(FloatToStr(0.5));\n"
                                     "PrintLn(FloatToStr(3E-7)); PrintLn(12.5);",
                                     "2,5\r\n2,5\r\n1\r\n0,5\r\n3E-7\r\n12,5\r\n"}});
}

} // namespace
} // namespace tl::script
