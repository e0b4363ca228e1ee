// tlhost check-script as a user runs it: a task imported into a fresh database, then checked.
#include "host_test_support.hpp"

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tl {
namespace {

namespace fs = std::filesystem;

using host::testing::Outcome;

// Runs tlhost on the scratch database, with standard output and error together.
Outcome RunTlhost(const fs::path& dir, std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", "check.db"});
    return host::testing::RunProcess(TLHOST_PATH, dir, args, {}, true);
}

// Writes a task of the arbitrary formula under `task_key` as a settings file and imports it.
void ImportTask(const fs::path& dir, const std::string& task_key, const std::string& common,
                const std::vector<std::pair<std::string, std::string>>& formulas) {
    nlohmann::json elements = nlohmann::json::array();
    for (const auto& [key, formula] : formulas) {
        elements.push_back({{"key", key}, {"value", formula}});
    }
    const nlohmann::json document = {
        {"format", "tlosses-task-settings"},
        {"version", 1},
        {"task_key", task_key},
        {"task", {{"Method", 1}, {"CommonScript", common}}},
        {"elements", {{"Devices1", nlohmann::json::array()}, {"Devices2", elements}}}};
    std::ofstream(dir / "task.json") << document.dump();
    const Outcome imported = RunTlhost(dir, {"settings", "import", "task.json"});
    ASSERT_EQ(imported.status, 0) << imported.out;
}

TEST(CheckScriptCli, ReportsFailingScriptsWithFormulaLines) {
    host::testing::ScratchDir dir;
    ASSERT_EQ(RunTlhost(dir.Path(), {"db", "init"}).status, 0);
    ImportTask(dir.Path(), "\\Scripts\\Check1\\", "var k: Float;\r\nk := 2;",
               {{"1.99.1", "%Result% := k * 2"},
                // "требуется выражение" on the formula's second line.
                {"2.99.1", "%Result0% := k;\r\n%Result1% := k + ;"},
                {"3.99.1", "k + 1"},
                // The missing "end" shows at the end of the text, in the generated lines behind the
                // formula: reported at the formula's last line.
                {"4.99.1", "if k > 1 then begin\r\n  %Result0% := 1;\r\n  %Result1% := 2"},
                // The function unit's names are known: the default formula compiles.
                {"26.99.3", "%Result% := W2($1A, 99, 3)"}});
    ImportTask(dir.Path(), "\\Scripts\\Check2\\", "var k: Float;\r\nk := ;", {{"1.99.1", "k"}});
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } const cases[] = {
        {{"\\Scripts\\Check1\\"},
         1,
         {"element 2.99.1:\n  Синтаксическая ошибка: ", "element 4.99.1:\n",
          "3 of 5 element formulas compile"},
         {"element 1.99.1", "element 3.99.1", "element 26.99.3", "common script"}},
        {{"\\Scripts\\Check1\\", "--formula", "2.99.1"}, 1, {"[строка: 2, столбец: ", "0 of 1"}, {}},
        {{"\\Scripts\\Check1\\", "--formula", "4.99.1"}, 1, {"[строка: 3, столбец: "}, {}},
        {{"\\Scripts\\Check1\\", "--formula", "1.99.1", "--formula", "26.99.3"},
         0,
         {"2 of 2 element formulas compile"},
         {"Синтаксическая ошибка"}},
        {{"\\Scripts\\Check1\\", "--formula", "9.9.9"},
         1,
         {"--formula 9.9.9: no formula of that element"},
         {}},
        // The common script is checked first; the formulas behind it are not.
        {{"\\Scripts\\Check2\\"},
         1,
         {"common script:\n  Синтаксическая ошибка: ", "[строка: 2, ", "1 element formulas not checked"},
         {"element 1.99.1"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"check-script"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome outcome = RunTlhost(dir.Path(), args);
        SCOPED_TRACE(fmt::format("{}\n{}", fmt::join(args, " "), outcome.out));
        EXPECT_EQ(outcome.status, c.status);
        for (const std::string& text : c.present) {
            EXPECT_NE(outcome.out.find(text), std::string::npos) << "missing: " << text;
        }
        for (const std::string& text : c.absent) {
            EXPECT_EQ(outcome.out.find(text), std::string::npos) << "unexpected: " << text;
        }
    }
}

} // namespace
} // namespace tl
