// Error recovery: one pass reports each independent error once, and nothing that only follows
// from an earlier one.
#include "script_test_util.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tl::script {
namespace {

using testing::RunScript;

TEST(RecoveryTest, ReportsEachErrorOnce) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"begin\n  PrintLn(1 +);\n  PrintLn(2);\n  if True PrintLn(3);\nend.",
         "Синтаксическая ошибка: требуется выражение [строка: 2, столбец: 14]\n"
         "Синтаксическая ошибка: требуется Then [строка: 4, столбец: 11]\n"},
        {"procedure P;\nbegin\n  PrintLn((1);\nend;\nbegin\n  while True PrintLn(1);\nend.",
         "Синтаксическая ошибка: требуется \")\". [строка: 3, столбец: 14]\n"
         "Синтаксическая ошибка: требуется DO [строка: 6, столбец: 14]\n"},
        {"PrintLn(1);\nend; end;\nend\nPrintLn(2);",
         "Синтаксическая ошибка: Invalid Instruction - function or assignment expected [строка: 2, "
         "столбец: 1]\n"},
        {"var read: Integer;\nPrintLn(1);",
         "Синтаксическая ошибка: требуется идентификатор [строка: 1, столбец: 5]\n"},
        {"x := 1;\nPrintLn(x + 1);",
         "Синтаксическая ошибка: Неизвестное имя \"x\" [строка: 1, столбец: 1]\n"
         "Синтаксическая ошибка: Неизвестное имя \"x\" [строка: 2, столбец: 9]\n"},
        {"var s: String;\ns := y + 1;",
         "Синтаксическая ошибка: Неизвестное имя \"y\" [строка: 2, столбец: 6]\n"},
        {"procedure P; forward;\nP;",
         "Синтаксическая ошибка: Не найдено тело подпрограммы \"P\" [строка: 1, столбец: 11]\n"},
        {"var a: Integer;\nvar a: Float;",
         "Синтаксическая ошибка: Повторное объявление \"a\" [строка: 2, столбец: 5]\n"},
        {"procedure Outer;\n  procedure Inner; begin end;\nbegin end;",
         "Синтаксическая ошибка: Вложенные подпрограммы не поддерживаются [строка: 2, столбец: 3]\n"},
        {"", ""},
    };
    for (const auto& [source, messages] : cases) {
        EXPECT_EQ(RunScript(source).messages, messages) << source;
    }
}

TEST(RecoveryTest, FloodOfErrorsIsCapped) {
    std::string source;
    for (int i = 0; i < 1000; ++i) {
        source += "x" + std::to_string(i) + " := ;\n";
    }
    auto result = RunScript(source);
    size_t lines = static_cast<size_t>(std::count(result.messages.begin(), result.messages.end(), '\n'));
    EXPECT_EQ(lines, 100u);
}

} // namespace
} // namespace tl::script
