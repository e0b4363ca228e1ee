// The one-line forms of messages.
#include "tlscript/messages.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace tl::script {
namespace {

struct FormCase {
    MessageKind kind;
    int line;
    const char* source;
    const char* one_line;
};

TEST(MessageTest, OneLineForm) {
    const std::vector<FormCase> cases = {
        {MessageKind::CompileError, 3, "", "Синтаксическая ошибка: текст [строка: 3, столбец: 7]"},
        {MessageKind::CompileError, 3, "inc.pas",
         "Синтаксическая ошибка: текст [строка: 3, столбец: 7, файл: inc.pas]"},
        {MessageKind::ExecutionError, 12, "", "Ошибка при выполнении: текст [строка: 12, столбец: 7]"},
        {MessageKind::ExecutionError, 0, "", "Ошибка при выполнении: текст"},
        {MessageKind::Warning, 1, "", "Предупреждение: текст [строка: 1, столбец: 7]"},
        {MessageKind::GeneralError, 0, "", "Ошибка: текст"},
        {MessageKind::Information, 0, "", "Информация: текст"}};
    for (const FormCase& c : cases) {
        const Message message{c.kind, "текст", c.line, c.line > 0 ? 7 : 0, c.source};
        EXPECT_EQ(message.OneLine(), c.one_line);
    }
}

} // namespace
} // namespace tl::script
