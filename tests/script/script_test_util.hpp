// Helpers for running scripts in tests.
#pragma once

#include "tlscript/engine.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tl::script::testing {

struct RunResult {
    bool compiled = false;
    std::string output;
    std::string messages; // one-line forms, one per line
};

inline RunResult RunScript(const Engine& engine, std::string_view source) {
    RunResult result;
    auto program = engine.Compile(source);
    result.compiled = !program->HasCompileErrors();
    if (result.compiled) {
        program->Execute();
        result.output = std::string(program->Output());
    }
    result.messages = program->Messages().ToText();
    return result;
}

inline RunResult RunScript(std::string_view source) {
    Engine engine;
    return RunScript(engine, source);
}

struct OutputCase {
    std::string source;
    std::string output;
};

// Runs each case's source between `before` and `after`: it prints its output and no message.
inline void ExpectOutputs(const Engine& engine, const std::vector<OutputCase>& cases,
                          const std::string& before = "", const std::string& after = "") {
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.source);
        auto result = RunScript(engine, before + c.source + after);
        EXPECT_EQ(result.messages, "");
        EXPECT_EQ(result.output, c.output);
    }
}

// The first message's one-line form, without the trailing line break.
inline std::string FirstMessage(const RunResult& result) {
    return result.messages.substr(0, result.messages.find('\n'));
}

} // namespace tl::script::testing
