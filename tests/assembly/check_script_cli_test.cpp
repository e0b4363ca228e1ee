// tlhost check-script as a user runs it: a task imported into a fresh database, then checked.
#include "assembly_test_support.hpp"
#include "host_test_support.hpp"

#include <cstdio>
#include <fmt/format.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace tl {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
};

// Runs tlhost on the scratch database, with standard output and error together.
Outcome RunTlhost(const fs::path& dir, const std::vector<std::string>& args) {
    std::string command = fmt::format("cd '{}' && '{}' --db check.db", dir.string(), TLHOST_PATH);
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    command += " 2>&1";
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return outcome;
    }
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        outcome.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

constexpr const char* kTaskKey = "\\Scripts\\Check1\\";

void ImportTask(const fs::path& dir, const std::string& common,
                const std::vector<std::pair<std::string, std::string>>& formulas) {
    nlohmann::json elements = nlohmann::json::array();
    for (const auto& [key, formula] : formulas) {
        elements.push_back({{"key", key}, {"value", formula}});
    }
    const nlohmann::json document = {
        {"format", "tlosses-task-settings"},
        {"version", 1},
        {"task_key", kTaskKey},
        {"task", {{"Method", 1}, {"CommonScript", common}}},
        {"elements", {{"Devices1", nlohmann::json::array()}, {"Devices2", elements}}}};
    std::ofstream(dir / "task.json") << document.dump();
    ASSERT_EQ(RunTlhost(dir, {"db", "init"}).status, 0);
    const Outcome imported = RunTlhost(dir, {"settings", "import", "task.json"});
    ASSERT_EQ(imported.status, 0) << imported.out;
}

constexpr const char* kCommon = "var k: Float;\r\nk := 2;";
constexpr const char* kGood = "%Result% := k * 2";
// "требуется выражение" on the formula's second line.
constexpr const char* kBadOnLine2 = "%Result0% := k;\r\n%Result1% := k + ;";

struct CliCase {
    const char* name;
    const char* common;
    std::vector<std::pair<std::string, std::string>> formulas;
    std::vector<std::string> options;
    int status;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

void PrintTo(const CliCase& c, std::ostream* out) {
    *out << c.name;
}

class CheckScriptCli : public ::testing::TestWithParam<CliCase> {};

TEST_P(CheckScriptCli, ReportsFailingScriptsWithFormulaLines) {
    const CliCase& c = GetParam();
    host::testing::ScratchDir dir;
    ImportTask(dir.Path(), c.common, c.formulas);
    std::vector<std::string> args = {"check-script", kTaskKey};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome outcome = RunTlhost(dir.Path(), args);
    EXPECT_EQ(outcome.status, c.status) << outcome.out;
    for (const std::string& text : c.present) {
        EXPECT_NE(outcome.out.find(text), std::string::npos) << "missing: " << text << "\n" << outcome.out;
    }
    for (const std::string& text : c.absent) {
        EXPECT_EQ(outcome.out.find(text), std::string::npos) << "unexpected: " << text << "\n" << outcome.out;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tasks, CheckScriptCli, ::testing::Values(
    CliCase{"SyntaxErrorOnSecondLine", kCommon, {{"1.99.1", kGood}, {"2.99.1", kBadOnLine2}, {"3.99.1", "k + 1"}}, {}, 1,
            {"element 2.99.1:\n  Синтаксическая ошибка: ", "[строка: 2, столбец: ", "2 of 3 element formulas compile"},
            {"element 1.99.1", "element 3.99.1", "common script"}},
    // The missing "end" shows at the end of the text, in the generated lines behind the formula.
    CliCase{"UnclosedBlockAtTheFormulasLastLine", kCommon, {{"4.99.1", "if k > 1 then begin\r\n  %Result0% := 1;\r\n  %Result1% := 2"}}, {}, 1,
            {"element 4.99.1:\n", "[строка: 3, столбец: "}, {}},
    // The function unit's names are known: the default formula compiles.
    CliCase{"EverythingCompiles", kCommon, {{"1.99.1", kGood}, {"3.99.1", "k + 1"}, {"26.99.3", "%Result% := W2($1A, 99, 3)"}}, {}, 0,
            {"3 of 3 element formulas compile"}, {"Синтаксическая ошибка"}},
    CliCase{"OnlyTheNamedFormula", kCommon, {{"1.99.1", kGood}, {"2.99.1", kBadOnLine2}}, {"--formula", "1.99.1"}, 0,
            {"1 of 1 element formulas compile"}, {"2.99.1"}},
    CliCase{"CommonScriptFirst", "var k: Float;\r\nk := ;", {{"1.99.1", kGood}}, {}, 1,
            {"common script:\n  Синтаксическая ошибка: ", "[строка: 2, ", "1 element formulas not checked"}, {"element 1.99.1"}},
    CliCase{"UnknownFormulaAddress", kCommon, {{"1.99.1", kGood}}, {"--formula", "9.9.9"}, 2,
            {"--formula 9.9.9: no formula of that element"}, {}}),
    testing::CaseName<CliCase>);
// clang-format on

} // namespace
} // namespace tl
