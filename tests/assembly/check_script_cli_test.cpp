// tlhost check-script as a user runs it: a task imported into a fresh database, then checked. Where
// each kind of fault is placed inside a formula is the run script check's own test.
#include "host_test_support.hpp"
#include "tlplatform/db_connection.hpp"

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
Outcome Tlhost(const fs::path& dir, std::vector<std::string> args) {
    return host::testing::RunTlhost(dir, "check.db", std::move(args), {{}, true});
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
        {"task", {{"DeepBase", 24}, {"AdvParNumber", false}, {"Method", 1}, {"CommonScript", common}}},
        {"elements", {{"Devices1", nlohmann::json::array()}, {"Devices2", elements}}}};
    std::ofstream(dir / "task.json") << document.dump();
    const Outcome imported = Tlhost(dir, {"settings", "import", "task.json"});
    ASSERT_EQ(imported.status, 0) << imported.out;
}

TEST(CheckScriptCli, ReportsWhatTheRunCompilesWithPlacesInsideEachFormula) {
    host::testing::ScratchDir dir;
    ASSERT_EQ(Tlhost(dir.Path(), {"db", "init"}).status, 0);
    ImportTask(dir.Path(), "\\Scripts\\Check1\\", "var k: Float;\r\nk := 2;",
               {{"26.99.3", "%Result% := W2($1A, 99, 3)"}, // the function unit's names are known
                {"1.99.1", "%Result% := k * 2"},
                // "требуется выражение" at the ";" of the formula's second line.
                {"2.99.1", "%Result0% := k;\r\n%Result1% := k + ;"},
                {"3.99.1", "k + 1"}});
    ImportTask(dir.Path(), "\\Scripts\\Check2\\", "var k: Float;\r\nk := ;", {{"1.99.1", "k"}});
    ImportTask(dir.Path(), "\\Scripts\\Check3\\", "{$I k.inc}", {{"1.99.1", "k"}});
    // A key of the older "object.item" form: the run renames it to 6.0.1 before it reads the list.
    ImportTask(dir.Path(), "\\Scripts\\Check4\\", "", {{"6.99.1", "%Result% := 1 + ;"}});
    const auto db = db::Connection::OpenExisting((dir / "check.db").string());
    db->Execute("update settings set key = '6.1', key_fold = '6.1' where key = '6.99.1'");
    fs::create_directories(dir.Path() / "inc");
    std::ofstream(dir.Path() / "inc" / "k.inc") << "const k = 3;";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } const cases[] = {
        {{"check-script", "\\Scripts\\Check1\\"},
         1,
         {"element 2.99.1:\n  Синтаксическая ошибка: требуется выражение [строка: 2, столбец: 18]",
          "3 of 4 element formulas compile; the run script does not compile"},
         {"element 1.99.1", "element 3.99.1", "element 26.99.3", "common script"}},
        {{"check-script", "\\Scripts\\Check1\\", "--formula", "1.99.1", "--formula", "26.99.3"},
         0,
         {"2 of 2 element formulas compile"},
         {"Синтаксическая ошибка"}},
        {{"check-script", "\\Scripts\\Check1\\", "--formula", "9.9.9"},
         1,
         {"--formula 9.9.9: no formula of that element"},
         {}},
        // The common script is checked first; the formulas behind it are not.
        {{"check-script", "\\Scripts\\Check2\\"},
         1,
         {"common script:\n  Синтаксическая ошибка: требуется выражение [строка: 2, столбец: 6]",
          "1 element formulas not checked"},
         {"element 1.99.1"}},
        // Includes come from the directory the host names, as in the run.
        {{"check-script", "\\Scripts\\Check3\\"}, 1, {"Couldn't find file \"k.inc\""}, {}},
        {{"--include-dir", "inc", "check-script", "\\Scripts\\Check3\\"},
         0,
         {"1 of 1 element formulas compile; the run script compiles"},
         {}},
        {{"check-script", "\\Scripts\\Check4\\"},
         1,
         {"element 6.0.1:\n  Синтаксическая ошибка: требуется выражение [строка: 1, столбец: 17]"},
         {"leaves out"}},
    };
    for (const Case& c : cases) {
        const Outcome outcome = Tlhost(dir.Path(), c.args);
        SCOPED_TRACE(fmt::format("{}\n{}", fmt::join(c.args, " "), outcome.out));
        EXPECT_EQ(outcome.status, c.status);
        for (const std::string& text : c.present) {
            EXPECT_NE(outcome.out.find(text), std::string::npos) << "missing: " << text;
        }
        for (const std::string& text : c.absent) {
            EXPECT_EQ(outcome.out.find(text), std::string::npos) << "unexpected: " << text;
        }
    }

    // The check renamed the older key and marked the section only inside a transaction it rolled back.
    EXPECT_EQ(db->Query("select group_concat(key) from settings where section like '%Check4%' and "
                        "key in ('6.1', '6.0.1', 'UpdateFormat1')",
                        {})
                  ->AsText(0),
              "6.1");

    // The same as one JSON document: every element with its messages, lines and columns.
    const Outcome json =
        host::testing::RunTlhost(dir.Path(), "check.db", {"check-script", "--json", "\\Scripts\\Check1\\"});
    EXPECT_EQ(json.status, 1);
    const auto document = nlohmann::json::parse(json.out);
    EXPECT_EQ(document["compiles"], false);
    ASSERT_EQ(document["elements"].size(), 4u);
    EXPECT_EQ(document["elements"][1]["element"], "2.99.1");
    EXPECT_EQ(document["elements"][1]["messages"][0]["line"], 2);
    EXPECT_EQ(document["elements"][1]["messages"][0]["column"], 18);
    EXPECT_EQ(document["elements"][1]["messages"][0]["text"], "требуется выражение");
    EXPECT_TRUE(document["elements"][0]["messages"].empty());
}

} // namespace
} // namespace tl
