// Operator typing: which operand types an operator takes and what it yields, shown by assigning
// the expression to a variable of each type and by the exact mismatch message.
#include "script_test_util.hpp"

#include <gtest/gtest.h>
#include <map>

namespace tl::script {
namespace {

using testing::FirstMessage;
using testing::RunScript;

struct TypingCase {
    const char* expression;
    const char* type;  // the type the expression has, or "" when it does not compile
    const char* error; // the message text when it does not compile
};

class OperatorTypingTest : public ::testing::TestWithParam<TypingCase> {};

// An expression of type T assigns to a T variable and, unless T is Integer or Char, not to the
// variable of a clearly different type; that pins the type without a type-of operator.
TEST_P(OperatorTypingTest, HasItsType) {
    const TypingCase& c = GetParam();
    const std::string decls = "var i: Integer; f: Float; s: String; b: Boolean; ch: Char; v: Variant;\n";
    if (std::string(c.type).empty()) {
        auto result = RunScript(decls + "v := " + c.expression + ";");
        EXPECT_EQ(FirstMessage(result).substr(0, FirstMessage(result).find(" [")),
                  std::string("Синтаксическая ошибка: ") + c.error)
            << c.expression;
        return;
    }
    const std::map<std::string, std::string> target = {
        {"Integer", "i"}, {"Float", "f"}, {"String", "s"}, {"Boolean", "b"}, {"Char", "ch"}};
    auto ok = RunScript(decls + target.at(c.type) + " := " + c.expression + ";");
    EXPECT_TRUE(ok.compiled) << c.expression << "\n" << ok.messages;
    // A Float does not go into an Integer; a String or Boolean goes into neither.
    const char* narrower = std::string(c.type) == "Float"     ? "i"
                           : std::string(c.type) == "Integer" ? "b"
                                                              : "f";
    auto refused = RunScript(decls + narrower + " := " + c.expression + ";");
    EXPECT_FALSE(refused.compiled) << c.expression;
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, OperatorTypingTest,
    ::testing::Values(TypingCase{"1 + 2", "Integer", ""}, TypingCase{"1 + 2.5", "Float", ""},
                      TypingCase{"4 / 2", "Float", ""}, TypingCase{"7 div 2", "Integer", ""},
                      TypingCase{"-i", "Integer", ""}, TypingCase{"-f", "Float", ""},
                      TypingCase{"not i", "Integer", ""}, TypingCase{"i and 7", "Integer", ""},
                      TypingCase{"v + 1", "Float", ""}, TypingCase{"v div 2", "Integer", ""},
                      TypingCase{"7 div 2.0", "", "Несовместимые типы: \"Integer\" и \"Float\""},
                      TypingCase{"f mod 2", "", "Несовместимые типы: \"Float\" и \"Integer\""},
                      TypingCase{"b + 1", "", "Несовместимые типы: \"Boolean\" и \"Integer\""},
                      TypingCase{"-b", "", "Несовместимые типы: \"Boolean\" и \"Float\""},
                      TypingCase{"not f", "", "Несовместимые типы: \"Float\" и \"Boolean\""},
                      TypingCase{"s - s", "", "Несовместимые типы: \"String\" и \"String\""}));

INSTANTIATE_TEST_SUITE_P(
    StringsAndLogic, OperatorTypingTest,
    ::testing::Values(TypingCase{"s + 'x'", "String", ""}, TypingCase{"ch + ch", "String", ""},
                      TypingCase{"s[1]", "Char", ""}, TypingCase{"b and (i > 0)", "Boolean", ""},
                      TypingCase{"s < 'b'", "Boolean", ""}, TypingCase{"f >= i", "Boolean", ""},
                      TypingCase{"b and i", "", "Несовместимые типы: \"Boolean\" и \"Integer\""},
                      TypingCase{"s = 1", "", "Несовместимые типы: \"String\" и \"Integer\""},
                      TypingCase{"b < 1", "", "Несовместимые типы: \"Boolean\" и \"Integer\""},
                      TypingCase{"i > 0 and i < 5", "", "Несовместимые типы: \"Boolean\" и \"Integer\""}));

struct AssignCase {
    const char* declaration;
    const char* value;
    bool compiles;
};

class AssignmentTest : public ::testing::TestWithParam<AssignCase> {};

TEST_P(AssignmentTest, AcceptsOnlyCompatibleValues) {
    auto result = RunScript(std::string("var x: ") + GetParam().declaration +
                            "; y: Integer; s: String;\nx := " + GetParam().value + ";");
    EXPECT_EQ(result.compiled, GetParam().compiles)
        << GetParam().declaration << " := " << GetParam().value << "\n"
        << result.messages;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, AssignmentTest,
    ::testing::Values(AssignCase{"Float", "1", true}, AssignCase{"Integer", "1.5", false},
                      AssignCase{"Integer", "3000000000", false}, AssignCase{"TDateTime", "y", true},
                      AssignCase{"Char", "'a'", true}, AssignCase{"Char", "'ab'", false},
                      AssignCase{"Char", "s", false}, AssignCase{"String", "#65", true},
                      AssignCase{"Boolean", "1", false}, AssignCase{"Integer", "Round(2.5)", true},
                      AssignCase{"Exception", "nil", true},
                      AssignCase{"array [1..2] of Integer", "y", false}));

} // namespace
} // namespace tl::script
