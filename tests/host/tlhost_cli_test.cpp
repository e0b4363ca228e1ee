// tlhost as a user runs it: a separate process, a scratch directory, the real driver.
#include "host_test_support.hpp"
#include "tlcommon/text_codec.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>

namespace tl::host {
namespace {

using namespace tl::host::testing;
namespace fs = std::filesystem;

TEST(TlhostCliTest, RunsTasksOnAFreshDatabaseAndKeepsEachTasksLog) {
    ScratchDir dir;
    const Outcome init = RunTlhost(dir.Path(), "", {"db", "init"});
    ASSERT_EQ(init.status, 0) << init.err;
    ASSERT_TRUE(fs::exists(dir / "tlosses.db"));

    // The second key lacks its trailing backslash: tlhost adds it. Three runs keep two logs a task.
    const std::vector<std::string> args = {
        "--log-dir", "logs-here", "--keep-logs", "2", "run", "\\Scripts\\Losses1\\", "\\Scripts\\Losses2"};
    Outcome run;
    for (int i = 0; i < 3; ++i) {
        run = RunTlhost(dir.Path(), "", args);
    }
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    for (
        const char* pattern :
        {R"((^|\n)\d\d:\d\d:\d\d Losses1: Начало работы\n)",
         R"(\n\\Scripts\\Losses1\\: 2 Некорректный сценарий; read 0 rows, stored 0; elements not fully )"
         R"(computed: 0; failed queries: 0, failed stores: 0; log: \S+/logs-here/logs/Losses1-\d{8}-\d{6}(-\d)?\.log\n)",
         R"(\n\\Scripts\\Losses2\\: 2 Некорректный сценарий; .*; log: \S+/Losses2-\d{8}-\d{6}(-\d)?\.log\n$)"}) {
        EXPECT_TRUE(std::regex_search(run.out, std::regex(pattern))) << pattern << "\n" << run.out;
    }
    EXPECT_EQ(run.err, "");
    size_t kept = 0;
    for (const auto& entry : fs::directory_iterator(dir / "logs-here" / "logs")) {
        EXPECT_TRUE(std::regex_match(entry.path().filename().string(),
                                     std::regex(R"(Losses[12]-\d{8}-\d{6}(-\d)?\.log)")))
            << entry.path();
        ++kept;
    }
    EXPECT_EQ(kept, 4u);

    // The run log in Windows-1251 (its lines and file format are the driver's log writer's own tests').
    EXPECT_TRUE(
        Contains(ReadFile(dir / "logs-here" / "tlosses.log"), Utf8ToCp1251("Не рассчитанные объекты")));
}

TEST(TlhostCliTest, TheClockOfTheRunIsTheOneGiven) {
    ScratchDir dir;
    ASSERT_EQ(RunTlhost(dir.Path(), "", {"db", "init"}).status, 0);
    std::ofstream(dir / "depth.json")
        << R"({"format": "tlosses-task-settings", "version": 1, "task_key": "\\Scripts\\Depth\\", "task": {"IntervalType": 0, "DeepBase": 25, )"
           R"("AdvParNumber": true, "ParNumber": 4, "IntervalTypeAdv": 0, "DeepAdv": 2, "Method": 0}, )"
           R"("elements": {"Devices1": [], "Devices2": []}})";
    ASSERT_EQ(RunTlhost(dir.Path(), "", {"settings", "import", "depth.json"}).status, 0);
    const Outcome run =
        RunTlhost(dir.Path(), "", {"run", "\\Scripts\\Depth\\", "--now", "2024-03-01 10:00:00", "--json"});
    // No elements: code 4, a task that did not end with 0.
    EXPECT_EQ(run.status, 1) << run.err;
    for (const char* line :
         {"Depth: Начало - 29.02.2024 09:00:00, окончание - 01.03.2024 10:00:00 \n",
          "Depth: Начало - 01.03.2024 08:00:00, окончание - 01.03.2024 10:00:00 (Доп.)\n"}) {
        EXPECT_TRUE(Contains(run.err, line)) << line << "\n" << run.err;
    }
    // Standard output holds the JSON document alone.
    EXPECT_TRUE(run.out.starts_with("{\n") && run.out.ends_with("}\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, R"("code": 4,)")) << run.out;
    EXPECT_TRUE(Contains(run.out, R"("exit_status": 1)")) << run.out;
}

// Setup errors explained on stderr with their exit status and nothing on stdout; decode prints the
// driver's text (every code's text is checked byte for byte through the exports).
TEST(TlhostCliTest, CommandsEndWithTheirExitStatusAndText) {
    ScratchDir dir;
    ScratchDir with_db;
    ASSERT_EQ(RunTlhost(with_db.Path(), "", {"db", "init"}).status, 0);
    std::ofstream(with_db / "not-a-library.so") << "plain text\n";
    const std::string key = "\\Scripts\\Losses1\\";
    const std::string no_file = "/nonexistent/libtlosses.so";
    const std::string plain_file = (with_db / "not-a-library.so").string();
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::vector<std::string> fragments; // of the standard error
        std::string env = "";
        bool without_database = false; // run in a directory without one
        std::string out = "";
    };
    const std::vector<Case> cases = {
        {"no driver file",
         {"--driver", no_file, "run", key},
         1,
         {"cannot load the driver " + no_file, "No such file"}},
        {"a library without the exports",
         {"--driver", TLWM_PATH, "run", key},
         1,
         {"has no export InitDriver"}},
        {"no log directory",
         {"--log-dir", plain_file + "/logs", "run", key},
         1,
         {"the log directory", "cannot be created"}},
        {"a bad key among good", {"run", key, "\\Scripts\\"}, 2, {"malformed task key \"\\Scripts\\\""}},
        {"a key given twice", {"run", key, "\\Scripts\\Losses1"}, 2, {"is given twice"}},
        {"a clock that is no date", {"run", key, "--now", "yesterday"}, 2, {"--now \"yesterday\""}},
        {"an unknown command", {"runn", key}, 2, {"unknown command \"runn\"", "db init, run, decode"}},
        {"an unknown command of a group", {"db", "drop"}, 2, {"unknown command \"db drop\"", "db init"}},
        {"no command", {}, 2, {"no command given", "db init, run"}},
        {"a bad option", {"run", key, "--bogus"}, 2, {"--bogus"}},
        {"a bad fault to inject", {"run", key}, 2, {"TLHOST_INJECT_FAULT"}, "TLHOST_INJECT_FAULT=disk:1"},
        {"missing database", {"run", key}, 3, {"tlosses.db does not exist", "tlhost db init"}, "", true},
        {"decode", {"decode", "0"}, 0, {}, "", true, "Успешный расчёт\n"},
        {"decode a negative code", {"decode", "--", "-1"}, 0, {}, "", true, "Код возврата -1\n"},
        {"decode a negative code without --", {"decode", "-7"}, 0, {}, "", true, "Код возврата -7\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = RunTlhost(c.without_database ? dir.Path() : with_db.Path(), "", c.args,
                                          {c.env.empty() ? std::vector<std::string>{} : std::vector{c.env}});
        EXPECT_EQ(outcome.status, c.status) << outcome.err;
        for (const std::string& fragment : c.fragments) {
            EXPECT_TRUE(Contains(outcome.err, fragment)) << "missing: " << fragment << "\n" << outcome.err;
        }
        // Nothing ran: no result line, no database created by accident.
        EXPECT_EQ(outcome.out, c.out);
    }
    EXPECT_FALSE(fs::exists(dir / "tlosses.db"));
}

TEST(TlhostCliTest, TheDatabaseComesFromTheEnvironmentUnlessGiven) {
    ScratchDir dir;
    const std::string from_env = (dir / "env.db").string();
    ASSERT_EQ(RunTlhost(dir.Path(), "", {"db", "init"}, {{"TLHOST_DB=" + from_env}}).status, 0);
    EXPECT_TRUE(fs::exists(from_env));
    EXPECT_FALSE(fs::exists(dir / "tlosses.db"));

    ASSERT_EQ(
        RunTlhost(dir.Path(), "", {"--db", "given.db", "db", "init"}, {{"TLHOST_DB=" + from_env}}).status, 0);
    EXPECT_TRUE(fs::exists(dir / "given.db"));
}

} // namespace
} // namespace tl::host
