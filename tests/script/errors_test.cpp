// Compile and run-time error texts, positions and one-line forms, as formula authors see them.
#include "script_test_util.hpp"

#include <gtest/gtest.h>
#include <pthread.h>

namespace tl::script {
namespace {

using testing::FirstMessage;
using testing::RunScript;

struct ErrorCase {
    const char* name;
    const char* source;
    const char* message; // the first message in its one-line form
};

std::string CaseName(const ::testing::TestParamInfo<ErrorCase>& info) {
    return info.param.name;
}

class CompileErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CompileErrorTest, ReportsTheExactText) {
    auto result = RunScript(GetParam().source);
    EXPECT_FALSE(result.compiled);
    EXPECT_EQ(FirstMessage(result), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CompileErrorTest,
    ::testing::Values(
        ErrorCase{"UnknownName", "x := 1;",
                  "Синтаксическая ошибка: Неизвестное имя \"x\" [строка: 1, столбец: 1]"},
        ErrorCase{"FloatToInteger", "var i: Integer;\ni := 1.5;",
                  "Синтаксическая ошибка: Несовместимые типы: Невозможно присвоить \"Float\" к \"Integer\" "
                  "[строка: 2, "
                  "столбец: 6]"},
        ErrorCase{
            "StringPlusInteger", "var s: String; s := 'a' + 1;",
            "Синтаксическая ошибка: Несовместимые типы: \"String\" и \"Integer\" [строка: 1, столбец: 25]"},
        ErrorCase{"MissingSemicolon", "var i: Integer;\ni := 1\ni := 2;",
                  "Синтаксическая ошибка: требуется \";\". [строка: 3, столбец: 1]"},
        ErrorCase{"MissingParen", "PrintLn((1 + 2);",
                  "Синтаксическая ошибка: требуется \")\". [строка: 1, столбец: 16]"},
        ErrorCase{"MissingExpression", "var i: Integer; i := ;",
                  "Синтаксическая ошибка: требуется выражение [строка: 1, столбец: 22]"},
        ErrorCase{"MissingEnd", "begin PrintLn(1);",
                  "Синтаксическая ошибка: требуется END [строка: 1, столбец: 18]"},
        ErrorCase{"MissingDo", "while True PrintLn(1);",
                  "Синтаксическая ошибка: требуется DO [строка: 1, столбец: 12]"},
        ErrorCase{"MissingThen", "if True PrintLn(1);",
                  "Синтаксическая ошибка: требуется Then [строка: 1, столбец: 9]"},
        ErrorCase{"MissingTo", "var i: Integer; for i := 1 of 3 do ;",
                  "Синтаксическая ошибка: требуется TO или DOWNTO [строка: 1, столбец: 28]"},
        ErrorCase{"MissingAssign", "var i: Integer; for i = 1 to 3 do ;",
                  "Синтаксическая ошибка: требуется \":=\" [строка: 1, столбец: 23]"},
        ErrorCase{"ExpressionAsStatement", "1 + 2;",
                  "Синтаксическая ошибка: Invalid Instruction - function or assignment expected [строка: 1, "
                  "столбец: 1]"},
        ErrorCase{"VariableAsStatement", "var i: Integer; i;",
                  "Синтаксическая ошибка: Invalid Instruction - function or assignment expected [строка: 1, "
                  "столбец: 17]"},
        ErrorCase{"ArgumentCount", "PrintLn(Sqrt(1, 2));",
                  "Синтаксическая ошибка: Expected 1 parameters (instead of 2) [строка: 1, столбец: 9]"},
        ErrorCase{"ArgumentType", "PrintLn(Sqrt('x'));",
                  "Синтаксическая ошибка: Argument 1 expects type \"Float\" instead of \"String\" [строка: "
                  "1, столбец: 14]"},
        ErrorCase{"ConditionNotBoolean", "if 1 then PrintLn(1);",
                  "Синтаксическая ошибка: Требуется Boolean [строка: 1, столбец: 4]"},
        ErrorCase{"ForBoundNotInteger", "var i: Integer; for i := 1 to 2.5 do ;",
                  "Синтаксическая ошибка: Требуется Integer выражение [строка: 1, столбец: 31]"},
        ErrorCase{"BoundNotConstant", "var n: Integer; var a: array [1..n] of Integer;",
                  "Синтаксическая ошибка: Bound isn't a constant expression [строка: 1, столбец: 34]"},
        ErrorCase{"BoundNotInteger", "var a: array [1..2.5] of Integer;",
                  "Синтаксическая ошибка: Bound isn't of type integer [строка: 1, столбец: 18]"},
        ErrorCase{"BoundsReversed", "var a: array [3..1] of Integer;",
                  "Синтаксическая ошибка: Lower bound is bigger than upper bound! [строка: 1, столбец: 15]"},
        ErrorCase{"BreakOutsideLoop", "break;",
                  "Синтаксическая ошибка: break без for/while/repeat или case [строка: 1, столбец: 1]"},
        ErrorCase{"ContinueOutsideLoop", "continue;",
                  "Синтаксическая ошибка: continue без for/while/repeat или case [строка: 1, столбец: 1]"},
        ErrorCase{"UnknownSwitch", "{$Q+}",
                  "Синтаксическая ошибка: Compilerswitch \"Q+\" unknown [строка: 1, столбец: 1]"},
        ErrorCase{"UnknownUnit", "uses Windows;",
                  "Синтаксическая ошибка: Неизвестный модуль \"Windows\" [строка: 1, "
                  "столбец: 6]"},
        ErrorCase{"AssignToConstant", "const K = 1; K := 2;",
                  "Синтаксическая ошибка: Нельзя присвоить значение \"K\" [строка: 1, столбец: 14]"},
        ErrorCase{
            "HugeArray", "var a: array [0..1000000000] of array [1..1000] of Float;",
            "Синтаксическая ошибка: Слишком большой массив: 1000000001 элементов [строка: 1, столбец: 8]"},
        ErrorCase{"StringCharacterIsNoVarArgument",
                  "procedure P(var c: Char); begin end; var s: String; s := 'ab'; P(s[1]);",
                  "Синтаксическая ошибка: Argument 1 expects a variable [строка: 1, столбец: 67]"},
        ErrorCase{"MessageIsNoVarArgument",
                  "procedure P(var t: String); begin end; try except on E: Exception do P(E.Message); end;",
                  "Синтаксическая ошибка: Argument 1 expects a variable [строка: 1, столбец: 74]"},
        ErrorCase{"ConstantDivisionByZero", "PrintLn(1 div 0);",
                  "Синтаксическая ошибка: Division by zero [строка: 1, столбец: 11]"}),
    CaseName);

TEST(CompileErrorTest, IndependentErrorsAreAllReported) {
    auto result = RunScript("var i: Integer;\ni := ;\nj := 1;\nPrintLn(1)\nPrintLn(2);\n");
    EXPECT_EQ(result.messages, "Синтаксическая ошибка: требуется выражение [строка: 2, столбец: 6]\n"
                               "Синтаксическая ошибка: требуется \";\". [строка: 5, столбец: 1]\n");
}

TEST(CompileErrorTest, SemanticErrorsInSeveralStatementsAreAllReported) {
    auto result = RunScript("var i: Integer;\ni := 'a';\nj := 1;\ni := k;\n");
    EXPECT_EQ(result.messages, "Синтаксическая ошибка: Несовместимые типы: Невозможно присвоить \"String\" к "
                               "\"Integer\" [строка: 2, "
                               "столбец: 6]\n"
                               "Синтаксическая ошибка: Неизвестное имя \"j\" [строка: 3, столбец: 1]\n"
                               "Синтаксическая ошибка: Неизвестное имя \"k\" [строка: 4, столбец: 6]\n");
}

TEST(CompileErrorTest, DeepNestingIsRefusedNotCrashing) {
    std::string parens = "PrintLn(" + std::string(100000, '(') + "1" + std::string(100000, ')') + ");";
    std::string blocks;
    for (int i = 0; i < 100000; ++i) {
        blocks += "begin ";
    }
    for (int i = 0; i < 100000; ++i) {
        blocks += "end; ";
    }
    std::string chain = "var x: Integer; x := 0";
    for (int i = 0; i < 100000; ++i) {
        chain += " + 1";
    }
    chain += ";";
    for (const std::string& source : {parens, blocks, chain}) {
        auto result = RunScript(source);
        EXPECT_FALSE(result.compiled);
        EXPECT_NE(result.messages.find("Слишком"), std::string::npos) << result.messages.substr(0, 200);
        EXPECT_EQ(result.messages.find('\n'), result.messages.size() - 1) << "one message only";
    }
}

class RuntimeErrorTest : public ::testing::TestWithParam<ErrorCase> {};

// Each source raises once; the handler prints the message, so the text is what try-except sees.
TEST_P(RuntimeErrorTest, IsCatchableWithItsText) {
    std::string source =
        std::string("var i, z: Integer; x, y: Float; s: String; a: array [1..3] of Integer;\ntry\n") +
        GetParam().source + "\nexcept on E: Exception do Print(E.Message); end;";
    auto result = RunScript(source);
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RuntimeErrorTest,
    ::testing::Values(ErrorCase{"IntegerDivision", "i := 1 div z;", "Division by zero"},
                      ErrorCase{"IntegerModulo", "i := 1 mod z;", "Division by zero"},
                      ErrorCase{"FloatDivision", "x := 1 / y;", "Floating point division by zero"},
                      ErrorCase{"ZeroByZero", "x := y / y;", "Invalid floating point operation"},
                      ErrorCase{"Overflow", "x := 1e308; x := x * 10;", "Floating point overflow"},
                      ErrorCase{"SqrtOfNegative", "x := Sqrt(-1);", "Invalid floating point operation"},
                      ErrorCase{"LnOfZero", "x := Ln(y);", "Floating point division by zero"},
                      ErrorCase{"UpperBound", "i := 4; a[i] := 1;", "Upper bound exceeded! Index 4"},
                      ErrorCase{"ConstantUpperBound", "a[4] := 1;", "Upper bound exceeded! Index 4"},
                      ErrorCase{"LowerBound", "i := 0; Print(a[i]);", "Lower bound exceeded! Index 0"},
                      ErrorCase{"StrToIntOfText", "i := StrToInt('12x');", "\"12x\" is an invalid integer"},
                      ErrorCase{"StrToFloatOfText", "x := StrToFloat('abc');", "\"abc\" is an invalid float"},
                      ErrorCase{"RoundOutOfRange", "x := 1e300; i := Round(x);",
                                "Invalid floating point operation"},
                      ErrorCase{"ExplicitRaise", "raise Exception.Create('свой текст');", "свой текст"}),
    CaseName);

TEST(RuntimeErrorTest, UncaughtErrorIsAnExecutionErrorWithPosition) {
    auto result = RunScript("var z: Integer;\nPrint('before');\nz := 10 div z;\nPrint('after');");
    EXPECT_TRUE(result.compiled);
    EXPECT_FALSE(result.executed);
    EXPECT_EQ(result.output, "before");
    EXPECT_EQ(result.messages, "Ошибка при выполнении: Division by zero [строка: 3, столбец: 9]\n");
}

TEST(RuntimeErrorTest, UnboundedRecursionIsCatchable) {
    auto result =
        RunScript("function F(n: Integer): Integer; begin Result := F(n + 1); end;\n"
                  "try F(0); except on E: Exception do Print(E.Message); end;\nPrint(' still running');");
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.output, "Stack overflow still running");
}

} // namespace
} // namespace tl::script

namespace tl::script {
namespace {

struct ThreadRun {
    testing::RunResult result;
};

void* RunRecursion(void* arg) {
    static_cast<ThreadRun*>(arg)->result =
        testing::RunScript("function F(n: Integer): Integer; begin Result := F(n + 1) + 1; end;\n"
                           "try F(0); except on E: Exception do Print(E.Message); end;");
    return nullptr;
}

// A host may run scripts on a thread with a small stack: the guard follows that thread's stack.
TEST(RuntimeErrorTest, RecursionOnASmallThreadStackIsCaught) {
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 512 * 1024), 0);
    ThreadRun run;
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, RunRecursion, &run), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(run.result.messages, "");
    EXPECT_EQ(run.result.output, "Stack overflow");
}

} // namespace
} // namespace tl::script
