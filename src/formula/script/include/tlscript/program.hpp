// A compiled script: executable as often as wanted, each time from fresh variables.
#pragma once

#include "tlscript/messages.hpp"

#include <memory>
#include <string>
#include <string_view>

namespace tl::script {

class Engine;
struct CompiledCode;
struct ExecState;

class Program {
public:
    Program(const Engine& engine, std::unique_ptr<CompiledCode> code, MessageList messages);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs the main block from the start. False when refused or when the execution ended with
    // execution errors; the reason is in Messages().
    bool Execute();

    const MessageList& Messages() const { return messages_; }
    bool HasCompileErrors() const { return messages_.HasCompileErrors(); }
    bool HasExecutionErrors() const { return messages_.HasExecutionErrors(); }
    bool IsExecuting() const { return executing_; }
    // What the latest execution printed.
    std::string_view Output() const { return output_; }

private:
    const Engine& engine_;
    std::unique_ptr<CompiledCode> code_;
    MessageList messages_;
    std::string output_;
    std::unique_ptr<ExecState> state_;
    bool executing_ = false;
};

} // namespace tl::script
