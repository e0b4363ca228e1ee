// Program lifecycle: fresh data per execution, message clearing, refusals, settings (decimal
// separator, include directories, time limit) and the element-block shape the driver generates.
#include "script_test_util.hpp"
#include "tlscript/call_frame.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace tl::script {
namespace {

using testing::FirstMessage;
using testing::RunScript;

TEST(ProgramTest, EveryExecutionStartsFromFreshVariables) {
    Engine engine;
    auto program = engine.Compile("var n: Integer; s: String; k: Integer = 5; a: array [1..2] of Float;\n"
                                  "Inc(n); s := s + 'x'; k := k + 1; a[1] := a[1] + 1;\n"
                                  "Print(n); Print(s); Print(k); Print(a[1]);");
    ASSERT_TRUE(program->Execute());
    EXPECT_EQ(program->Output(), "1x61");
    ASSERT_TRUE(program->Execute());
    EXPECT_EQ(program->Output(), "1x61");
}

TEST(ProgramTest, ExecutionMessagesAreClearedCompileMessagesStay) {
    Engine engine;
    auto program = engine.Compile("var z: Integer; if z = 0 then z := 1 div z;");
    EXPECT_FALSE(program->Execute());
    EXPECT_FALSE(program->Execute());
    EXPECT_EQ(program->Messages().Count(), 1u);

    auto broken = engine.Compile("x := 1;");
    EXPECT_FALSE(broken->Execute());
    EXPECT_FALSE(broken->Execute());
    EXPECT_EQ(broken->Messages().ToText(),
              "Синтаксическая ошибка: Неизвестное имя \"x\" [строка: 1, столбец: 1]\n"
              "Ошибка: Скрипт откомпилирован с ошибками. Невозможно выполнить!\n");
    EXPECT_TRUE(broken->HasExecutionErrors());
}

TEST(ProgramTest, ElementBlockWithDivisionByZeroPrintsErrAndRunsOn) {
    // The shape the driver assembles: a common part, then one guarded block per element.
    const char* source =
        "//############# Общая часть #############\r\n"
        "var zero: Float;\r\n"
        "//############# Основная часть #############\r\n"
        "var __var0, __var1: array [1..2] of Float;\r\n"
        "var __i: Integer;\r\n"
        "for __i := 1 to 2 do begin\r\n"
        "  __var0[__i] := 0; __var1[__i] := 0;\r\n"
        "end;\r\n"
        "try \r\n"
        "  __var0[1] := 5 / zero;\r\n"
        "  Print('Result0=');\r\n  PrintLn(__var0[1]);\r\n  Print('Result1=');\r\n  PrintLn(__var1[1]);\r\n"
        "except\r\n  on E: Exception do begin\r\n"
        "    Print('Result0=Err:');\r\n    PrintLn(E.message);\r\n"
        "    Print('Result1=Err:');\r\n    PrintLn(E.message);\r\n  end;\r\nend;\r\n"
        "try \r\n"
        "  __var0[2] := 12.5;\r\n"
        "  Print('Result0=');\r\n  PrintLn(__var0[2]);\r\n  Print('Result1=');\r\n  PrintLn(__var1[2]);\r\n"
        "except\r\n  on E: Exception do begin\r\n"
        "    Print('Result0=Err:');\r\n    PrintLn(E.message);\r\n"
        "    Print('Result1=Err:');\r\n    PrintLn(E.message);\r\n  end;\r\nend;";
    auto result = RunScript(source);
    EXPECT_TRUE(result.executed);
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, "Result0=Err:Floating point division by zero\r\n"
                             "Result1=Err:Floating point division by zero\r\n"
                             "Result0=12.5\r\nResult1=0\r\n");
}

TEST(ProgramTest, UncaughtErrorInCommonPartHasLineAndColumn) {
    auto result =
        RunScript("//############# Общая часть #############\r\nvar k: Integer;\r\nk := 7 mod k;\r\n");
    EXPECT_FALSE(result.executed);
    EXPECT_EQ(result.messages, "Ошибка при выполнении: Division by zero [строка: 3, столбец: 8]\n");
}

struct FloatText {
    double value;
    const char* point;
};

class FloatTextTest : public ::testing::TestWithParam<FloatText> {};

// Texts as Pascal's FloatToStr prints them.
TEST_P(FloatTextTest, PrintsLikeFloatToStr) {
    // The value arrives through a host constant so that no literal parsing is involved.
    Engine with_value;
    with_value.RegisterConstant({"MyUnit", "V", ValueType::Float, 0, GetParam().value, ""});
    auto result = RunScript(with_value, "Print(V);");
    EXPECT_EQ(result.output, GetParam().point);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FloatTextTest,
    ::testing::Values(FloatText{0.1 + 0.2, "0.3"}, FloatText{1e15, "1E15"}, FloatText{1e16, "1E16"},
                      FloatText{1e-4, "0.0001"}, FloatText{1e-5, "0.00001"}, FloatText{1e-6, "1E-6"},
                      FloatText{123456789012345678.0, "1.23456789012346E17"}, FloatText{-0.0, "0"},
                      FloatText{1.0 / 3, "0.333333333333333"}, FloatText{100, "100"}, FloatText{2.5, "2.5"},
                      FloatText{-123.456, "-123.456"}, FloatText{999999999999999.5, "1E15"},
                      FloatText{123456789012345, "123456789012345"},
                      FloatText{5e-324, "4.94065645841247E-324"},
                      FloatText{1.7976931348623157e308, "1.79769313486232E308"}));

struct SeparatorCase {
    char separator;
    const char* source;
    const char* output;
    const char* messages;
};

class DecimalSeparatorTest : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(DecimalSeparatorTest, PrintsAndParsesWithTheSetting) {
    EngineSettings settings;
    settings.decimal_separator = GetParam().separator;
    Engine engine(settings);
    auto result = RunScript(engine, GetParam().source);
    EXPECT_EQ(result.output, GetParam().output);
    EXPECT_EQ(result.messages, GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(
    Separators, DecimalSeparatorTest,
    ::testing::Values(
        SeparatorCase{'.', "PrintLn(12.5); PrintLn(FloatToStr(3E-7)); PrintLn(StrToFloat('0.25'));",
                      "12.5\r\n3E-7\r\n0.25\r\n", ""},
        SeparatorCase{
            ',',
            "PrintLn(12.5); PrintLn(FloatToStr(3E-7)); PrintLn(StrToFloat('0,25') + StrToFloat('0.25'));",
            "12,5\r\n3E-7\r\n0,5\r\n", ""},
        SeparatorCase{'.', "PrintLn(StrToFloat('0,25'));", "",
                      "Ошибка при выполнении: \"0,25\" is an invalid float [строка: 1, столбец: 9]\n"}));

class IncludeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("tlscript_inc_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "sub");
        std::ofstream(dir / "common.inc") << "var shared: Integer = 41;\n";
        std::ofstream(dir / "sub" / "bad.inc") << "\nshared := 'x';\n";
        settings.include_dirs = {dir.string()};
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
    EngineSettings settings;
};

TEST_F(IncludeTest, ReadsFromTheIncludeDirectories) {
    Engine engine(settings);
    auto result = RunScript(engine, "{$I common.inc}\nInc(shared); Print(shared);");
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, "42");
}

TEST_F(IncludeTest, ErrorsInsideAnIncludedFileNameTheFile) {
    Engine engine(settings);
    auto result = RunScript(engine, "{$I common.inc}\n{$INCLUDE sub/bad.inc}");
    EXPECT_EQ(result.messages, "Синтаксическая ошибка: Несовместимые типы: Невозможно присвоить \"String\" к "
                               "\"Integer\" [строка: 2, столбец: 11, файл: sub/bad.inc]\n");
}

TEST_F(IncludeTest, RefusesPathsOutsideTheIncludeDirectories) {
    Engine engine(settings);
    std::string absolute = (dir / "common.inc").string();
    for (const std::string& name : {absolute, std::string("../common.inc"), std::string("sub/../common.inc"),
                                    std::string("missing.inc")}) {
        auto result = RunScript(engine, "{$I " + name + "}");
        EXPECT_EQ(FirstMessage(result), "Синтаксическая ошибка: Couldn't find file \"" + name +
                                            "\" on input paths [строка: 1, столбец: 1]");
    }
}

TEST(TimeLimitTest, EndlessLoopEndsWithAnExecutionError) {
    EngineSettings settings;
    settings.time_limit_ms = 50;
    Engine engine(settings);
    auto result = RunScript(engine, "try while True do ; except on E: Exception do Print('caught'); end;");
    EXPECT_FALSE(result.executed);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.messages,
              "Ошибка при выполнении: Превышено время выполнения скрипта [строка: 1, столбец: 5]\n");
}

} // namespace
} // namespace tl::script

namespace tl::script {
namespace {

TEST(DataBoundTest, RecursionWithLargeFramesStopsAtTheDataBound) {
    EngineSettings settings;
    settings.max_data_bytes = 8 * 1024 * 1024;
    Engine engine(settings);
    auto result =
        testing::RunScript(engine, "var depth: Integer;\n"
                                   "procedure R; var a: array [1..100000] of Float; begin Inc(depth); "
                                   "a[1] := depth; R; end;\n"
                                   "try R; except on E: Exception do Print(E.Message); end; Print(depth);");
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, "Stack overflow10");
    auto too_big = testing::RunScript(engine, "var a: array [1..2000000] of Float;");
    EXPECT_EQ(
        testing::FirstMessage(too_big),
        "Синтаксическая ошибка: Слишком большой объём данных: больше 8388608 байт [строка: 1, столбец: 5]");
}

} // namespace
} // namespace tl::script
