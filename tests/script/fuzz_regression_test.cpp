// Inputs that once crashed the engine under the fuzzer, and hostile scripts that lean on its guards:
// each compiles and, when it compiled, executes under the fuzzer's time limit, ends, and ends the
// way stated for it below.
#include "tlscript/engine.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <string>

namespace tl::script {
namespace {

namespace fs = std::filesystem;

enum class Outcome { CompileError, ExecutionError, Clean };

struct Expected {
    Outcome outcome;
    // Part of the first message of the outcome's kind; for a clean run, part of the output.
    std::string text;
};

// Every file of the directory has its line here, so that a new input comes with its outcome.
const std::map<std::string, Expected>& ExpectedOutcomes() {
    static const std::map<std::string, Expected> table{
        // Float code of a division raising on its first operand's stack position.
        {"float_code_stack_below_first_value.pas",
         {Outcome::ExecutionError, "Invalid floating point operation [строка: 1, столбец: 17]"}},
        // Character constants with more digits than any value needs.
        {"char_constant_long_decimal.pas",
         {Outcome::CompileError, "Неверная символная константа \"#77777777777777777777\""}},
        {"char_constant_long_hex.pas", {Outcome::CompileError, "Неверная символная константа \"#$FFFFFFFF"}},
        // A named handler nested in a bare except block: its variable's slot lay past the
        // checker's handler slots.
        {"named_handler_in_bare_except.pas", {Outcome::Clean, "inner b\r\nouter done\r\n"}},
        {"named_handler_in_bare_except_minimised.pas",
         {Outcome::CompileError, "Неизвестное имя \"n\" [строка: 3, столбец: 6]"}},
        // Rejected at their declaration.
        {"forward_heading_with_fewer_parameters.pas",
         {Outcome::CompileError, "Объявление \"F\" не совпадает с предварительным"}},
        {"deep_begin_nesting.pas", {Outcome::CompileError, "Слишком глубокая вложенность"}},
        {"huge_global_array.pas", {Outcome::CompileError, "Слишком большой"}},
        {"unbounded_recursion.pas", {Outcome::ExecutionError, "Stack overflow [строка: 3"}},
        // The time-out is not catchable: the handler does not run.
        {"endless_loop.pas", {Outcome::ExecutionError, "Превышено время выполнения скрипта [строка: 3"}},
        // Strings stop growing long before their 32-bit size would wrap.
        {"endless_printing.pas",
         {Outcome::ExecutionError, "Слишком большой вывод скрипта: больше 67108864 байт"}},
        {"string_doubling.pas", {Outcome::ExecutionError, "Недостаточно памяти для выполнения скрипта"}},
    };
    return table;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string FirstOfKind(const Program& program, MessageKind kind) {
    for (const Message& message : program.Messages()) {
        if (message.kind == kind) {
            return message.OneLine();
        }
    }
    return {};
}

class FuzzRegressionTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzRegressionTest, EndsAsStated) {
    const std::string& name = GetParam();
    const auto found = ExpectedOutcomes().find(name);
    ASSERT_NE(found, ExpectedOutcomes().end()) << name << " has no stated outcome in this test";
    const Expected& expected = found->second;

    EngineSettings settings;
    settings.time_limit_ms = 200; // as in the fuzzer
    Engine engine(settings);
    auto program = engine.Compile(ReadFile(fs::path(TL_FUZZ_REGRESSIONS_DIR) / name), name);
    ASSERT_EQ(program->HasCompileErrors(), expected.outcome == Outcome::CompileError)
        << program->Messages().ToText();
    EXPECT_EQ(program->Execute(), expected.outcome == Outcome::Clean) << program->Messages().ToText();
    const std::string seen =
        expected.outcome == Outcome::Clean
            ? std::string(program->Output())
            : FirstOfKind(*program, expected.outcome == Outcome::CompileError ? MessageKind::CompileError
                                                                              : MessageKind::ExecutionError);
    EXPECT_NE(seen.find(expected.text), std::string::npos) << seen << "\n" << program->Messages().ToText();
}

std::vector<std::string> RegressionFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(TL_FUZZ_REGRESSIONS_DIR)) {
        if (entry.is_regular_file()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzRegressionTest, ::testing::ValuesIn(RegressionFiles()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             return param.param.substr(0, param.param.find('.'));
                         });

} // namespace
} // namespace tl::script
