// The check of a task's scripts as the run compiles them: every message with its element and its
// place in the text the operator wrote.
#include "assembly_test_support.hpp"
#include "tlassembly/run_script_check.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

namespace tl {
namespace {

using testing::FormulaObjects;

// "element line:column text" of the first message of each element that has messages (the
// compiler's recovery decides what follows); the element -1 is the common script.
std::vector<std::string> FirstMessages(const RunScriptCheck& check) {
    std::vector<std::string> lines;
    int32_t last = -2;
    for (const FormulaMessage& m : check.messages) {
        if (m.element != last) {
            lines.push_back(
                fmt::format("{} {}:{} {}", m.element, m.message.line, m.message.column, m.message.text));
            last = m.element;
        }
    }
    return lines;
}

TEST(RunScriptCheck, MessagesArePlacedInTheFormulaTheyComeFrom) {
    const auto engine = testing::StandInEngine();
    const std::string common = "var k: Float;\r\nk := 2;";
    struct Case {
        const char* name;
        std::string common;
        std::vector<std::string> formulas; // elements 1.99.1, 1.99.2, ...
        bool compiles;
        bool formulas_checked;
        std::vector<std::string> messages;
    } const cases[] = {
        {"all compile", common, {"%Result% := k * 2", "W(1, 2) + T"}, true, true, {}},
        // Declarations pass the dialog's check, which compiles the formula at the top level; the
        // run puts the formula inside the element's try block (a bare one after an assignment).
        {"declaration",
         common,
         {"1", "var x: Integer;\r\n%Result% := x", "function F: Integer; begin Result := 1; end;"},
         false,
         true,
         {"1 1:1 Объявления допустимы только на верхнем уровне скрипта и перед телом подпрограммы",
          "2 1:1 требуется выражение"}},
        // Columns count the formula's own characters: "%Result%" is shorter than "__var0[1]", and
        // the assignment in front of a bare expression is not counted.
        {"columns",
         common,
         {"%Result% := 1 + ;", "k +\r\n  * 2"},
         false,
         true,
         {"0 1:17 требуется выражение", "1 2:3 требуется выражение"}},
        // The missing "end" is found behind the formula: told at the formula's end.
        {"unfinished",
         common,
         {"if k > 1 then begin\r\n  %Result0% := 1", "2"},
         false,
         true,
         {"0 2:17 требуется \";\"."}},
        {"common script", "var k: Float;\r\nk := ;", {"k"}, false, false, {"-1 2:6 требуется выражение"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<testing::FormulaElement> elements;
        for (size_t i = 0; i < c.formulas.size(); ++i) {
            elements.push_back({{1, 99, static_cast<int32_t>(i + 1)}, c.formulas[i]});
        }
        const RunScriptCheck check = CheckRunScript(*engine, c.common, FormulaObjects(elements));
        EXPECT_EQ(check.compiles, c.compiles);
        EXPECT_EQ(check.formulas_checked, c.formulas_checked);
        EXPECT_EQ(FirstMessages(check), c.messages);
    }
}

} // namespace
} // namespace tl
