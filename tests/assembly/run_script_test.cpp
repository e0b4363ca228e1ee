// The run script: its exact text and each element's statement. The programs it makes run in the
// formula scenarios.
#include "assembly_test_support.hpp"
#include "tlassembly/run_script.hpp"
#include "tlassembly/run_script_map.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

using testing::FormulaObjects;

TEST(RunScript, WholeTextOfTwoElementsAndACommonScript) {
    // Added out of address order: the blocks follow the ascending addresses.
    const TCalcObjects objects = FormulaObjects({
        {{20, 99, 1}, "W(100, 5) * 0.02"},
        {{10, 99, 1}, "%Result0% := W(1,1) * k; %result1% := P(1,1)"},
    });
    // Each element's block, with its place among the elements and its statement.
    const auto block = [](const std::string& i, const std::string& statement) {
        return "try \r\n  " + statement + ";\r\n  Print('Result0=');\r\n  PrintLn(__var0[" + i +
               "]);\r\n  Print('Result1=');\r\n  PrintLn(__var1[" + i +
               "]);\r\nexcept\r\n  on E: Exception do begin\r\n    Print('Result0=Err:');\r\n"
               "    PrintLn(E.message);\r\n    Print('Result1=Err:');\r\n    PrintLn(E.message);\r\n  "
               "end;\r\nend;";
    };
    const std::string expected =
        "//############# Общая часть #############\r\nvar k: Float;\r\nk := 2;\r\n"
        "//############# Основная часть #############\r\n"
        "var __var0, __var1: array [1..2] of Float;\r\nvar __i: Integer;\r\n"
        "for __i := 1 to 2 do begin\r\n  __var0[__i] := 0; __var1[__i] := 0;\r\nend;\r\n" +
        block("1", "__var0[1] := W(1,1) * k; __var1[1] := P(1,1)") + "\r\n" +
        block("2", "__var0[2] := W(100, 5) * 0.02");
    EXPECT_EQ(BuildRunScript("var k: Float;\r\nk := 2;", objects), expected);
}

TEST(RunScript, StatementOfTheElementsBlock) {
    const struct {
        const char* formula;
        int block; // the element's place among three, from 1
        const char* statement;
    } cases[] = {
        {"W(100, 5) * 0.02", 2, "__var0[2] := W(100, 5) * 0.02"},
        {"%Result0% := W(1,1); %result1% := P(1,1)", 1, "__var0[1] := W(1,1); __var1[1] := P(1,1)"},
        {"%result0% := 1; %Result1% := %RESULT0% + %result%", 3,
         "__var0[3] := 1; __var1[3] := __var0[3] + __var0[3]"},
        {"__var0[1] := 5", 1, "__var0[1] := 5"},
        // An explicit variable in another letter case is no assignment: it becomes an expression.
        {"__VAR0[1] := 5", 1, "__var0[1] := __VAR0[1] := 5"},
        {"%Result% := W2(0, 99, 3)", 1, "__var0[1] := W2(0, 99, 3)"},
        // "%RESULT%" goes first and takes the "%" that "%RESULT1%" would have begun with.
        {"%Result%Result1%", 1, "__var0[1]Result1%"},
        // Each placeholder in turn over the whole text: the second "%" ends "%RESULT0%" first.
        {"%RESULT0%RESULT%", 2, "%RESULT0__var0[2]"},
    };
    for (const auto& c : cases) {
        std::vector<testing::FormulaElement> elements = {
            {{1, 99, 1}, "0"}, {{1, 99, 2}, "0"}, {{1, 99, 3}, "0"}};
        elements[static_cast<size_t>(c.block - 1)].formula = c.formula;
        const TCalcObjects objects = FormulaObjects(elements);
        const std::string text = BuildRunScript("", objects);
        // Without a common script the text starts with the main banner; the arrays hold the three.
        EXPECT_TRUE(text.starts_with("//############# Основная часть #############\r\n"
                                     "var __var0, __var1: array [1..3] of Float;\r\n"
                                     "var __i: Integer;\r\n"
                                     "for __i := 1 to 3 do begin\r\n"));
        // The text the check of the scripts maps back to the formulas is the same.
        const std::vector<int32_t> all = {0, 1, 2};
        RunScriptMap map;
        EXPECT_EQ(BuildMappedRunScript("", objects, all, map), text);
        EXPECT_EQ(MapStatement(c.formula, c.block).text, c.statement);
        // The statement is the line after the block's "try ".
        size_t at = 0;
        for (int i = 0; i < c.block && at != std::string::npos; ++i) {
            at = text.find("\r\ntry \r\n", at + 1);
        }
        ASSERT_NE(at, std::string::npos) << c.formula;
        at += 8;
        EXPECT_EQ(text.substr(at, text.find("\r\n", at) - at), std::string("  ") + c.statement + ";")
            << c.formula;
    }
}

} // namespace
} // namespace tl
