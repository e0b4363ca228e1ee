// The one-line forms of messages and the list's split between compile and execution messages.
#include "tlscript/messages.hpp"

#include <gtest/gtest.h>

namespace tl::script {
namespace {

struct FormCase {
    MessageKind kind;
    int line;
    const char* source;
    const char* one_line;
};

class MessageFormTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(MessageFormTest, OneLineForm) {
    Message message;
    message.kind = GetParam().kind;
    message.text = "текст";
    message.line = GetParam().line;
    message.column = GetParam().line > 0 ? 7 : 0;
    message.source = GetParam().source;
    EXPECT_EQ(message.OneLine(), GetParam().one_line);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageFormTest,
    ::testing::Values(FormCase{MessageKind::CompileError, 3, "",
                               "Синтаксическая ошибка: текст [строка: 3, столбец: 7]"},
                      FormCase{MessageKind::CompileError, 3, "inc.pas",
                               "Синтаксическая ошибка: текст [строка: 3, столбец: 7, файл: inc.pas]"},
                      FormCase{MessageKind::ExecutionError, 12, "",
                               "Ошибка при выполнении: текст [строка: 12, столбец: 7]"},
                      FormCase{MessageKind::ExecutionError, 0, "", "Ошибка при выполнении: текст"},
                      FormCase{MessageKind::Warning, 1, "", "Предупреждение: текст [строка: 1, столбец: 7]"},
                      FormCase{MessageKind::GeneralError, 0, "", "Ошибка: текст"},
                      FormCase{MessageKind::Information, 0, "", "Информация: текст"}));

TEST(MessageListTest, ExecutionMessagesGoCompileMessagesStay) {
    MessageList list;
    list.Add({MessageKind::Warning, "w", 1, 1, ""});
    EXPECT_FALSE(list.HasCompileErrors());
    list.Add({MessageKind::CompileError, "c", 2, 1, ""});
    EXPECT_TRUE(list.HasCompileErrors());
    EXPECT_FALSE(list.HasExecutionErrors());
}

} // namespace
} // namespace tl::script
