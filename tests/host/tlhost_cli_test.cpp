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

// Runs tlhost in `cwd` with TLHOST_DB removed from the environment unless given in `env`.
Outcome RunTlhost(const fs::path& cwd, const std::vector<std::string>& args,
                  const std::vector<std::string>& env = {}) {
    return RunProcess(TLHOST_PATH, cwd, args, env);
}

bool Contains(const std::string& text, const std::string& fragment) {
    return text.find(fragment) != std::string::npos;
}

TEST(TlhostCliTest, RunsTasksOnAFreshDatabaseAndReportsTheirResults) {
    ScratchDir dir;
    const Outcome init = RunTlhost(dir.Path(), {"db", "init"});
    ASSERT_EQ(init.status, 0) << init.err;
    ASSERT_TRUE(fs::exists(dir / "tlosses.db"));

    // The second key lacks its trailing backslash: tlhost adds it.
    const Outcome run =
        RunTlhost(dir.Path(), {"run", "\\Scripts\\Losses1\\", "\\Scripts\\Losses2", "--log-dir", "logs"});
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(Contains(run.out, "\\Scripts\\Losses1\\: 2 Некорректный сценарий\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\\Scripts\\Losses2\\: 2 Некорректный сценарий\n")) << run.out;
    for (const char* pattern : {R"((^|\n)\d\d:\d\d:\d\d Losses1: Начало работы\n)",
                                R"((^|\n)\d\d:\d\d:\d\d Losses1: Статус выполнения: Некорректный сценарий\n)",
                                R"((^|\n)\d\d:\d\d:\d\d Losses2: Начало работы\n)"}) {
        EXPECT_TRUE(std::regex_search(run.out, std::regex(pattern))) << pattern << "\n" << run.out;
    }
    EXPECT_EQ(run.err, "");

    const std::string log = ReadFile(dir / "logs" / "tlosses.log");
    ASSERT_FALSE(log.empty());
    EXPECT_FALSE(log.starts_with("\xEF\xBB\xBF"));
    EXPECT_TRUE(log.ends_with("\r\n"));
    for (size_t i = log.find('\n'); i != std::string::npos; i = log.find('\n', i + 1)) {
        ASSERT_TRUE(i > 0 && log[i - 1] == '\r') << "bare line feed at byte " << i;
    }
    EXPECT_TRUE(Contains(log, Utf8ToCp1251("Не рассчитанные объекты")));
    EXPECT_FALSE(Contains(log, "Не рассчитанные объекты"));
}

TEST(TlhostCliTest, SetupErrorsAreExplainedAndFail) {
    ScratchDir dir;
    ScratchDir with_db;
    ASSERT_EQ(RunTlhost(with_db.Path(), {"db", "init"}).status, 0);
    std::ofstream(with_db / "not-a-library.so") << "plain text\n";
    const std::string key = "\\Scripts\\Losses1\\";
    struct Case {
        const char* name;
        const fs::path& cwd;
        std::vector<std::string> args;
        std::vector<std::string> fragments;
    };
    const std::vector<Case> cases = {
        {"missing database", dir.Path(), {"run", key}, {"tlosses.db does not exist", "tlhost db init"}},
        {"no driver file",
         with_db.Path(),
         {"--driver", "/nonexistent/libtlosses.so", "run", key},
         {"cannot load the driver /nonexistent/libtlosses.so", "No such file"}},
        {"not a library",
         with_db.Path(),
         {"--driver", (with_db / "not-a-library.so").string(), "run", key},
         {"cannot load the driver", "not-a-library.so"}},
        {"a library without the exports",
         with_db.Path(),
         {"--driver", TLWM_PATH, "run", key},
         {"has no export InitDriver"}},
        {"malformed key",
         with_db.Path(),
         {"run", "Scripts\\Losses1"},
         {"malformed task key \"Scripts\\Losses1\""}},
        {"one bad key among good ones",
         with_db.Path(),
         {"run", key, "\\Scripts\\"},
         {"malformed task key \"\\Scripts\\\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = RunTlhost(c.cwd, c.args);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        for (const std::string& fragment : c.fragments) {
            EXPECT_TRUE(Contains(outcome.err, fragment)) << "missing: " << fragment << "\n" << outcome.err;
        }
        // Nothing ran: no result line, no database created by accident.
        EXPECT_FALSE(Contains(outcome.out, ": 2 ")) << outcome.out;
    }
    EXPECT_FALSE(fs::exists(dir / "tlosses.db"));
    EXPECT_NE(RunTlhost(dir.Path(), {}).status, 0);
}

TEST(TlhostCliTest, DecodePrintsTheDriversText) {
    ScratchDir dir;
    struct Case {
        std::vector<std::string> args;
        const char* text;
    };
    // Every code's text is checked byte for byte through the exports.
    for (const Case& c :
         {Case{{"decode", "0"}, "Успешный расчёт\n"}, Case{{"decode", "--", "-1"}, "Код возврата -1\n"},
          Case{{"decode", "-7"}, "Код возврата -7\n"}}) {
        const Outcome outcome = RunTlhost(dir.Path(), c.args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, c.text);
    }
}

TEST(TlhostCliTest, TheDatabaseComesFromTheEnvironmentUnlessGiven) {
    ScratchDir dir;
    const std::string from_env = (dir / "env.db").string();
    ASSERT_EQ(RunTlhost(dir.Path(), {"db", "init"}, {"TLHOST_DB=" + from_env}).status, 0);
    EXPECT_TRUE(fs::exists(from_env));
    EXPECT_FALSE(fs::exists(dir / "tlosses.db"));

    ASSERT_EQ(RunTlhost(dir.Path(), {"--db", "given.db", "db", "init"}, {"TLHOST_DB=" + from_env}).status, 0);
    EXPECT_TRUE(fs::exists(dir / "given.db"));
}

} // namespace
} // namespace tl::host
