// tlhost settings export / import as an operator runs them, on the test database (SQLite, or
// PostgreSQL under scripts/with-postgres.sh).
#include "host_test_support.hpp"
#include "tltest/test_database.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using tl::host::testing::Outcome;

TEST(SettingsCli, ImportThenExportAndARefusal) {
    const tl::host::testing::ScratchDir dir;
    const tl::testing::TestDatabase database(dir / "t.db");
    const auto tlhost = [&](std::vector<std::string> args) {
        return tl::host::testing::RunTlhost(dir.Path(), database.Uri(), std::move(args));
    };
    ASSERT_EQ(tlhost({"db", "init"}).status, 0);
    const nlohmann::ordered_json document = {
        {"format", "tlosses-task-settings"},
        {"version", 1},
        {"task_key", "\\Scripts\\Losses1\\"},
        {"task",
         {{"DeepBase", 48}, {"AdvParNumber", false}, {"Method", 0}, {"CommonScript", "// Общая часть"}}},
        {"elements",
         {{"Devices1",
           {{{"key", "100.0.5"},
             {"value", "1;1;3;6;0.10;10.00;5.00;0;0.50;35;35;0;700;0.00;0.00;0.00;0.00;0.00;0;0;0;0;0;;"}}}},
          {"Devices2", nlohmann::ordered_json::array()}}},
    };
    std::ofstream(dir / "good.json") << document.dump(2) << "\n";
    Outcome run = tlhost({"settings", "import", "good.json"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = tlhost({"settings", "export", "\\Scripts\\Losses1\\"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, document.dump(2) + "\n");

    // A faulty file: exit status 1, the place named.
    auto bad = document;
    bad["elements"]["Devices1"][0]["value"] = "1;1;3";
    std::ofstream(dir / "bad.json") << bad.dump();
    run = tlhost({"settings", "import", "bad.json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("elements.Devices1[0].value: the coefficient record does not parse"),
              std::string::npos)
        << run.err;
    // (Export to a file with -o runs in the host's fault tests.) A task that does not exist exports
    // nothing: an empty document would wipe a task on import.
    run = tlhost({"settings", "export", "\\Scripts\\Losses2\\"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("no task \\Scripts\\Losses2\\"), std::string::npos) << run.err;
}

} // namespace
