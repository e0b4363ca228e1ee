// The check script's text, the letter case it compiles in, and the check with an engine.
#include "assembly_test_support.hpp"
#include "tlassembly/ansi_case.hpp"
#include "tlassembly/check_script.hpp"
#include "tlassembly/script_check.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(AnsiUpper, ChangesTheLettersOfTheCodePage) {
    const struct {
        const char* text;
        const char* upper;
    } cases[] = {{"", ""},
                 {"w(1, 2) * k_1 + T", "W(1, 2) * K_1 + T"},
                 {"абвгдеёжзийклмнопрстуфхцчшщъыьэюя", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"},
                 {"ђѓєѕіїјљњћќўџґ", "ЂЃЄЅІЇЈЉЊЋЌЎЏҐ"},
                 // Letters outside Windows-1251 and other characters stay.
                 {"ѐѝ αβ € № µ", "ѐѝ αβ € № µ"}};
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiUpperCase(c.text), c.upper);
    }
}

TEST(CheckScriptText, IsBuiltExactly) {
    const struct {
        const char* common;
        const char* formula;
        bool wrap;
        const char* script;
    } cases[] = {
        {"", "w(100, 5) * 0.02", true,
         "var __var0, __var1: float;\r\n__var0 := W(100, 5) * 0.02;\r\nprint(__var0);\r\nprint(__var1);"},
        {"var k: Float;\r\nk := 2;", "%Result0% := k; %result1% := 2", true,
         "var k: Float;\r\nk := 2;\r\nvar __var0, __var1: float;\r\n__var0 := K; __var1 := 2;\r\n"
         "print(__var0);\r\nprint(__var1);"},
        {"", "%Result% := w2($1a, 99, 3)", true,
         "var __var0, __var1: float;\r\n__var0 := W2($1A, 99, 3);\r\nprint(__var0);\r\nprint(__var1);"},
        // Upper-casing comes before the case-sensitive search, so an explicit __var0 is not seen.
        {"", "__var0 := 1", true,
         "var __var0, __var1: float;\r\n__var0 := __VAR0 := 1;\r\nprint(__var0);\r\nprint(__var1);"},
        // The common script checked alone is only upper-cased.
        {"ignored", "var x: integer;\r\nx := 1; // ёж", false, "VAR X: INTEGER;\r\nX := 1; // ЁЖ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildCheckScript(c.common, c.formula, c.wrap), c.script) << c.formula;
    }
}

// Success clears what the list held; failure lists the compiler's messages in their one-line form.
TEST(ScriptCheck, ListsTheCompilerMessagesOfAFailure) {
    const auto engine = testing::StandInEngine();
    std::vector<std::string> messages = {"left over"};
    EXPECT_TRUE(CheckScript(*engine, "var k: Float;\r\nk := 2;", "%Result0% := W(1, 1) * k; %Result1% := T",
                            true, messages));
    EXPECT_TRUE(messages.empty());
    messages = {"left over"};
    EXPECT_FALSE(CheckScript(*engine, "", "%Result% := Q(1, 1)", true, messages));
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages[0].starts_with("Синтаксическая ошибка: Неизвестное имя \"Q\"")) << messages[0];
    EXPECT_NE(messages[0].find("[строка: 2, столбец: "), std::string::npos) << messages[0];
}

// A fault on the formula's second line, behind common scripts of different lengths and line
// breaks: the compiler's line minus the lines in front of the formula is 2.
TEST(ScriptCheck, LinesBeforeFormulaMapCompilerLinesBackToTheFormula) {
    const auto engine = testing::StandInEngine();
    const std::vector<std::string> commons = {"", "var k: Float;", "var k: Float;\r\nk := 2;",
                                              "var k: Float;\nk := 2;\r\n// note\r\n"};
    for (const std::string& common : commons) {
        std::vector<script::Message> messages;
        ASSERT_FALSE(
            CheckScriptMessages(*engine, common, "%Result0% := 1;\r\n%Result1% := (2 + ;", true, messages));
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages[0].line - CheckScriptLinesBeforeFormula(common, true), 2)
            << "common script: " << common << "\n"
            << messages[0].OneLine();
    }
    EXPECT_EQ(CheckScriptLinesBeforeFormula("var k: Float;", false), 0);
}

} // namespace
} // namespace tl
