// Helpers for running scripts in tests.
#pragma once

#include "tlscript/engine.hpp"

#include <memory>
#include <string>
#include <string_view>

namespace tl::script::testing {

struct RunResult {
    bool compiled = false;
    bool executed = false;
    std::string output;
    std::string messages; // one-line forms, one per line
};

inline RunResult RunScript(const Engine& engine, std::string_view source) {
    RunResult result;
    auto program = engine.Compile(source);
    result.compiled = !program->HasCompileErrors();
    if (result.compiled) {
        result.executed = program->Execute();
        result.output = std::string(program->Output());
    }
    result.messages = program->Messages().ToText();
    return result;
}

inline RunResult RunScript(std::string_view source) {
    Engine engine;
    return RunScript(engine, source);
}

// The first message's one-line form, without the trailing line break.
inline std::string FirstMessage(const RunResult& result) {
    return result.messages.substr(0, result.messages.find('\n'));
}

} // namespace tl::script::testing
