// The run script: its exact text, each element's statement, and the program it makes.
#include "assembly_test_support.hpp"
#include "tlassembly/output_lines.hpp"
#include "tlassembly/run_script.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

using testing::FormulaObjects;

constexpr std::string_view kMainBanner = "//############# Основная часть #############\r\n";

// The statement line of block `number` (from 1): the line after its "try ".
std::string StatementOfBlock(const std::string& text, int number) {
    size_t at = 0;
    for (int i = 0; i < number; ++i) {
        at = text.find("\r\ntry \r\n", at);
        if (at == std::string::npos) {
            return "<no block " + std::to_string(number) + ">";
        }
        at += 8;
    }
    const size_t end = text.find("\r\n", at);
    return text.substr(at, end - at);
}

TEST(RunScript, WholeTextOfTwoElementsAndACommonScript) {
    // Added out of address order: the blocks follow the ascending addresses.
    const TCalcObjects objects = FormulaObjects({
        {{20, 99, 1}, "W(100, 5) * 0.02"},
        {{10, 99, 1}, "%Result0% := W(1,1) * k; %result1% := P(1,1)"},
    });
    const std::string expected = "//############# Общая часть #############\r\n"
                                 "var k: Float;\r\n"
                                 "k := 2;\r\n"
                                 "//############# Основная часть #############\r\n"
                                 "var __var0, __var1: array [1..2] of Float;\r\n"
                                 "var __i: Integer;\r\n"
                                 "for __i := 1 to 2 do begin\r\n"
                                 "  __var0[__i] := 0; __var1[__i] := 0;\r\n"
                                 "end;\r\n"
                                 "try \r\n"
                                 "  __var0[1] := W(1,1) * k; __var1[1] := P(1,1);\r\n"
                                 "  Print('Result0=');\r\n"
                                 "  PrintLn(__var0[1]);\r\n"
                                 "  Print('Result1=');\r\n"
                                 "  PrintLn(__var1[1]);\r\n"
                                 "except\r\n"
                                 "  on E: Exception do begin\r\n"
                                 "    Print('Result0=Err:');\r\n"
                                 "    PrintLn(E.message);\r\n"
                                 "    Print('Result1=Err:');\r\n"
                                 "    PrintLn(E.message);\r\n"
                                 "  end;\r\n"
                                 "end;\r\n"
                                 "try \r\n"
                                 "  __var0[2] := W(100, 5) * 0.02;\r\n"
                                 "  Print('Result0=');\r\n"
                                 "  PrintLn(__var0[2]);\r\n"
                                 "  Print('Result1=');\r\n"
                                 "  PrintLn(__var1[2]);\r\n"
                                 "except\r\n"
                                 "  on E: Exception do begin\r\n"
                                 "    Print('Result0=Err:');\r\n"
                                 "    PrintLn(E.message);\r\n"
                                 "    Print('Result1=Err:');\r\n"
                                 "    PrintLn(E.message);\r\n"
                                 "  end;\r\n"
                                 "end;";
    EXPECT_EQ(BuildRunScript("var k: Float;\r\nk := 2;", objects), expected);
}

TEST(RunScript, WithoutCommonScriptStartsWithTheMainBannerAndDeclaresN) {
    const TCalcObjects objects = FormulaObjects({{{1, 99, 1}, "1"}, {{1, 99, 2}, "2"}, {{1, 99, 3}, "3"}});
    const std::string text = BuildRunScript("", objects);
    EXPECT_TRUE(text.starts_with(kMainBanner)) << text;
    EXPECT_EQ(text.find("Общая часть"), std::string::npos);
    const std::string declarations = "var __var0, __var1: array [1..3] of Float;\r\n"
                                     "var __i: Integer;\r\n"
                                     "for __i := 1 to 3 do begin\r\n";
    EXPECT_EQ(text.substr(kMainBanner.size(), declarations.size()), declarations);
    EXPECT_EQ(StatementOfBlock(text, 3), "  __var0[3] := 3;");
}

struct StatementCase {
    const char* name;
    const char* formula;
    int block; // the element's place among three, from 1
    const char* statement;
};

class RunScriptStatement : public ::testing::TestWithParam<StatementCase> {};

TEST_P(RunScriptStatement, OfTheElementsBlock) {
    const StatementCase& c = GetParam();
    std::vector<testing::FormulaElement> elements = {{{1, 99, 1}, "0"}, {{1, 99, 2}, "0"}, {{1, 99, 3}, "0"}};
    elements[static_cast<size_t>(c.block - 1)].formula = c.formula;
    const std::string text = BuildRunScript("", FormulaObjects(elements));
    EXPECT_EQ(StatementOfBlock(text, c.block), std::string("  ") + c.statement + ";");
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, RunScriptStatement,
    ::testing::Values(
        StatementCase{"BareExpression", "W(100, 5) * 0.02", 2, "__var0[2] := W(100, 5) * 0.02"},
        StatementCase{"PlaceholdersInAnyCase", "%Result0% := W(1,1); %result1% := P(1,1)", 1,
                      "__var0[1] := W(1,1); __var1[1] := P(1,1)"},
        StatementCase{"EveryOccurrence", "%result0% := 1; %Result1% := %RESULT0% + %result%", 2,
                      "__var0[2] := 1; __var1[2] := __var0[2] + __var0[2]"},
        StatementCase{"ExplicitVar0Unchanged", "__var0[1] := 5", 1, "__var0[1] := 5"},
        StatementCase{"OtherCaseVar0IsAnExpression", "__VAR0[1] := 5", 1, "__var0[1] := __VAR0[1] := 5"},
        StatementCase{"DefaultFormulaOfObjectZero", "%Result% := W2(0, 99, 3)", 1,
                      "__var0[1] := W2(0, 99, 3)"},
        // "%RESULT%" goes first and takes the "%" that "%RESULT1%" would have begun with.
        StatementCase{"PlaceholdersReplacedInTurn", "%Result%Result1%", 1, "__var0[1]Result1%"}),
    testing::CaseName<StatementCase>);

struct ElementResult {
    double value0;
    double value1;
    std::string error;
};

TEST(RunScript, ProgramPrintsTwoLinesPerElementAndCatchesEachElementsError) {
    const TCalcObjects objects = FormulaObjects({
        {{1, 99, 1}, "W(100, 5) * 0.02"},
        {{1, 99, 2}, "%Result0% := W(2, 3) * k; %Result1% := P(2, 3)"},
        {{1, 99, 3}, "1 / W(7, 0)"},
        {{1, 99, 4}, "%Result% := T * 3"},
    });
    const std::vector<ElementResult> expected = {
        {10, 0, ""}, {12, 5, ""}, {0, 0, "Floating point division by zero"}, {1.5, 0, ""}};
    // A decimal comma in the output: the reader takes it whatever the system separator is.
    const auto engine = testing::StandInEngine(',');
    const auto program = engine->Compile(BuildRunScript("var k: Integer;\r\nk := 2;", objects));
    ASSERT_FALSE(program->HasCompileErrors()) << program->Messages().ToText();

    ASSERT_TRUE(program->Execute()) << program->Messages().ToText();
    EXPECT_FALSE(program->HasExecutionErrors());
    std::vector<std::string_view> lines;
    SplitOutputLines(program->Output(), lines);
    ASSERT_EQ(lines.size(), 2 * expected.size()) << program->Output();
    EXPECT_EQ(lines[4], "Result0=Err:Floating point division by zero");
    for (size_t k = 0; k < expected.size(); ++k) {
        const OutputValue v0 = ParseOutputLine(0, lines[2 * k]);
        const OutputValue v1 = ParseOutputLine(1, lines[2 * k + 1]);
        ASSERT_TRUE(v0.found && v1.found) << lines[2 * k] << " / " << lines[2 * k + 1];
        EXPECT_DOUBLE_EQ(v0.value, expected[k].value0) << "element " << k;
        EXPECT_DOUBLE_EQ(v1.value, expected[k].value1) << "element " << k;
        EXPECT_EQ(v0.error, expected[k].error) << "element " << k;
        EXPECT_EQ(v1.error, expected[k].error) << "element " << k;
    }
}

TEST(RunScript, ExplicitVariableInOtherCaseDoesNotCompile) {
    const auto engine = testing::StandInEngine();
    const auto good = engine->Compile(BuildRunScript("", FormulaObjects({{{1, 99, 1}, "__var0[1] := 5"}})));
    EXPECT_FALSE(good->HasCompileErrors()) << good->Messages().ToText();
    const auto bad = engine->Compile(BuildRunScript("", FormulaObjects({{{1, 99, 1}, "__VAR0[1] := 5"}})));
    EXPECT_TRUE(bad->HasCompileErrors());
}

} // namespace
} // namespace tl
