// The one-line forms of messages that no script test shows: compile and execution errors with
// their places (and file) are in every error test, the general error in HostReentryTest.
#include "tlscript/messages.hpp"

#include <gtest/gtest.h>

namespace tl::script {
namespace {

TEST(MessageTest, OneLineForm) {
    EXPECT_EQ((Message{MessageKind::ExecutionError, "текст", 0, 0, ""}).OneLine(),
              "Ошибка при выполнении: текст");
    EXPECT_EQ((Message{MessageKind::Warning, "текст", 1, 7, ""}).OneLine(),
              "Предупреждение: текст [строка: 1, столбец: 7]");
    EXPECT_EQ((Message{MessageKind::Information, "текст", 0, 0, ""}).OneLine(), "Информация: текст");
}

} // namespace
} // namespace tl::script
