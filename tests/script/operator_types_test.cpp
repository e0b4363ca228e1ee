// Operator typing: which operand types an operator takes and what it yields, shown by assigning
// the expression to a variable of each type and by the exact mismatch message.
#include "script_test_util.hpp"

#include <gtest/gtest.h>
#include <map>
#include <tuple>
#include <vector>

namespace tl::script {
namespace {

using testing::FirstMessage;
using testing::RunScript;

struct TypingCase {
    const char* expression;
    const char* type;  // the type the expression has, or "" when it does not compile
    const char* error; // the message text when it does not compile
};

// An expression of type T assigns to a T variable and, unless T is Integer or Char, not to the
// variable of a clearly different type; that pins the type without a type-of operator.
void ExpectTypes(const std::vector<TypingCase>& cases) {
    const std::string decls = "var i: Integer; f: Float; s: String; b: Boolean; ch: Char; v: Variant;\n";
    const std::map<std::string, std::string> target = {
        {"Integer", "i"}, {"Float", "f"}, {"String", "s"}, {"Boolean", "b"}, {"Char", "ch"}};
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(c.expression);
        if (std::string(c.type).empty()) {
            auto result = RunScript(decls + "v := " + c.expression + ";");
            EXPECT_EQ(FirstMessage(result).substr(0, FirstMessage(result).find(" [")),
                      std::string("Синтаксическая ошибка: ") + c.error);
            continue;
        }
        auto ok = RunScript(decls + target.at(c.type) + " := " + c.expression + ";");
        EXPECT_TRUE(ok.compiled) << ok.messages;
        // A Float does not go into an Integer; a String or Boolean goes into neither.
        const char* narrower = std::string(c.type) == "Float"     ? "i"
                               : std::string(c.type) == "Integer" ? "b"
                                                                  : "f";
        EXPECT_FALSE(RunScript(decls + narrower + " := " + c.expression + ";").compiled);
    }
}

TEST(OperatorTypingTest, EachOperatorHasItsType) {
    ExpectTypes({{"1 + 2", "Integer", ""},
                 {"1 + 2.5", "Float", ""},
                 {"4 / 2", "Float", ""},
                 {"7 div 2", "Integer", ""},
                 {"-i", "Integer", ""},
                 {"-f", "Float", ""},
                 {"not i", "Integer", ""},
                 {"i and 7", "Integer", ""},
                 {"v + 1", "Float", ""},
                 {"v div 2", "Integer", ""},
                 {"7 div 2.0", "", "Несовместимые типы: \"Integer\" и \"Float\""},
                 {"b + 1", "", "Несовместимые типы: \"Boolean\" и \"Integer\""},
                 {"-b", "", "Несовместимые типы: \"Boolean\" и \"Float\""},
                 {"not f", "", "Несовместимые типы: \"Float\" и \"Boolean\""},
                 {"s - s", "", "Несовместимые типы: \"String\" и \"String\""},
                 {"s + 'x'", "String", ""},
                 {"ch + ch", "String", ""},
                 {"s[1]", "Char", ""},
                 {"b and (i > 0)", "Boolean", ""},
                 {"s < 'b'", "Boolean", ""},
                 {"f >= i", "Boolean", ""},
                 {"b and i", "", "Несовместимые типы: \"Boolean\" и \"Integer\""},
                 {"s = 1", "", "Несовместимые типы: \"String\" и \"Integer\""},
                 {"b < 1", "", "Несовместимые типы: \"Boolean\" и \"Integer\""},
                 {"i > 0 and i < 5", "", "Несовместимые типы: \"Boolean\" и \"Integer\""}});
}

TEST(AssignmentTest, AcceptsOnlyCompatibleValues) {
    // x's type, the value assigned to it, whether that compiles
    const std::tuple<const char*, const char*, bool> cases[] = {{"Float", "1", true},
                                                                {"Integer", "3000000000", false},
                                                                {"TDateTime", "y", true},
                                                                {"Char", "'a'", true},
                                                                {"Char", "'ab'", false},
                                                                {"Char", "s", false},
                                                                {"String", "#65", true},
                                                                {"Boolean", "1", false},
                                                                {"Integer", "Round(2.5)", true},
                                                                {"Exception", "nil", true},
                                                                {"array [1..2] of Integer", "y", false}};
    for (const auto& [declaration, value, compiles] : cases) {
        auto result =
            RunScript(std::string("var x: ") + declaration + "; y: Integer; s: String;\nx := " + value + ";");
        EXPECT_EQ(result.compiled, compiles) << declaration << " := " << value << "\n" << result.messages;
    }
}

} // namespace
} // namespace tl::script
