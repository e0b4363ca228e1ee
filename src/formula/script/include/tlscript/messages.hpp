// The message list of a compiled program: compile messages first, then the messages of the
// latest execution, each printable in the one-line form the driver writes to its logs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tl::script {

enum class MessageKind : uint8_t { CompileError, ExecutionError, Warning, GeneralError, Information };

struct Message {
    MessageKind kind = MessageKind::CompileError;
    std::string text;
    int32_t line = 0; // 0: the message has no position
    int32_t column = 0;
    std::string source; // empty for the main text, the file name for an included file

    bool HasPosition() const { return line > 0; }
    // "Синтаксическая ошибка: текст [строка: 3, столбец: 7]" and the like.
    std::string OneLine() const;
};

class MessageList {
public:
    size_t Count() const { return items_.size(); }
    const Message& operator[](size_t index) const { return items_[index]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    void Add(Message message);
    bool HasCompileErrors() const { return compile_errors_ > 0; }
    bool HasExecutionErrors() const { return execution_errors_; }
    void MarkExecutionErrors() { execution_errors_ = true; }
    // Drops the messages of the previous execution; compile messages stay.
    void ClearExecution();
    // All messages in their one-line forms, one per line.
    std::string ToText() const;

private:
    std::vector<Message> items_;
    size_t compile_count_ = 0; // messages [0, compile_count_) belong to compilation
    int compile_errors_ = 0;
    bool execution_errors_ = false;
    bool compiling_ = true;
    friend class Program;
};

} // namespace tl::script
