#include "tlscript/messages.hpp"

#include <fmt/format.h>

namespace tl::script {

std::string Message::OneLine() const {
    std::string positioned;
    if (!HasPosition()) {
        positioned = text;
    } else if (source.empty()) {
        positioned = fmt::format("{} [строка: {}, столбец: {}]", text, line, column);
    } else {
        positioned = fmt::format("{} [строка: {}, столбец: {}, файл: {}]", text, line, column, source);
    }
    switch (kind) {
    case MessageKind::CompileError:
        return "Синтаксическая ошибка: " + positioned;
    case MessageKind::ExecutionError:
        return "Ошибка при выполнении: " + positioned;
    case MessageKind::Warning:
        return "Предупреждение: " + positioned;
    case MessageKind::GeneralError:
        return "Ошибка: " + positioned;
    case MessageKind::Information:
        return "Информация: " + positioned;
    }
    return positioned;
}

void MessageList::Add(Message message) {
    if (message.kind == MessageKind::CompileError && compiling_) {
        ++compile_errors_;
    }
    if (message.kind == MessageKind::ExecutionError) {
        execution_errors_ = true;
    }
    items_.push_back(std::move(message));
    if (compiling_) {
        compile_count_ = items_.size();
    }
}

void MessageList::ClearExecution() {
    items_.resize(compile_count_);
    execution_errors_ = false;
}

std::string MessageList::ToText() const {
    std::string text;
    for (const Message& message : items_) {
        text += message.OneLine();
        text += '\n';
    }
    return text;
}

} // namespace tl::script
