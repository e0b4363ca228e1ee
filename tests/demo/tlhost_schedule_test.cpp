// Two tlhost hosts running one schedule on the test database (SQLite, or PostgreSQL under
// scripts/with-postgres.sh): every task runs to its end once, on one host; a host killed in the
// middle of a task leaves it to the other; the stored losses are those of a single host's runs.
#include "host_test_support.hpp"
#include "tlplatform/db_connection.hpp"
#include "tltest/test_database.hpp"

#include <csignal>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <map>

namespace tl {
namespace {

using host::testing::RunProcess;
using host::testing::StartedProcess;

using host::testing::StoredResultRows;
using host::testing::WaitUntil;

int Occurrences(const std::string& text, const std::string& fragment) {
    int count = 0;
    for (size_t at = text.find(fragment); at != std::string::npos; at = text.find(fragment, at + 1)) {
        ++count;
    }
    return count;
}

TEST(TlhostSchedule, TwoHostsShareTheTasksAndOneTakesOverWhenTheOtherIsKilled) {
    host::testing::ScratchDir dir;
    const tl::testing::TestDatabase database(dir / "t.db");
    const auto tlhost = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--db", database.Uri(), "--log-dir", (dir / "logs").string()});
        return args;
    };
    // The demo's two tasks run by one host give the losses to compare with.
    ASSERT_EQ(RunProcess(TLHOST_PATH, dir.Path(), tlhost({"demo"})).status, 0);
    auto db = db::Connection::OpenExisting(database.Uri());
    const std::vector<std::string> single_host = StoredResultRows(*db);
    ASSERT_GT(single_host.size(), 1000u);
    db->Execute("delete from data where parnumber >= 30000");

    std::vector<std::string> tasks = {"\\Scripts\\Demo\\", "\\Scripts\\DemoFormulas\\"};
    for (const char* copy : {"\\Scripts\\Demo2\\", "\\Scripts\\Demo3\\", "\\Scripts\\DemoFormulas2\\"}) {
        const std::string from =
            std::string(copy).find("Formulas") == std::string::npos ? tasks[0] : tasks[1];
        ASSERT_EQ(RunProcess(TLHOST_PATH, dir.Path(), tlhost({"tasks", "copy", from, copy})).status, 0);
        tasks.push_back(copy);
    }
    for (const std::string& task : tasks) {
        const auto added = RunProcess(TLHOST_PATH, dir.Path(),
                                      tlhost({"schedule", "add", task, "--at", "2026-01-01 01:00"}));
        ASSERT_EQ(added.status, 0) << added.err;
    }
    const auto done_by = [&](const std::string& host) {
        return db->Query(fmt::format("select count(*) from tlhost_schedule where last_host = '{}'", host), {})
            ->AsInteger(0);
    };
    host::testing::ProcessOptions merged;
    merged.merge_err = true;
    const auto host = [&](const std::string& name) {
        return std::make_unique<StartedProcess>(
            TLHOST_PATH, dir.Path(),
            tlhost({"schedule", "run", "--until-idle", "--poll", "0.05", "--name", name}), merged);
    };

    // A finishes a task, B joins, and A is killed in the middle of its next one.
    auto a = host("A");
    ASSERT_TRUE(WaitUntil([&] { return done_by("A") >= 1; }, std::chrono::minutes(2)));
    auto b = host("B");
    ASSERT_TRUE(WaitUntil([&] { return Occurrences(a->OutputSoFar(), "A runs ") > done_by("A"); },
                          std::chrono::minutes(2)));
    kill(a->Pid(), SIGKILL);
    const auto a_end = a->Finish();
    const auto b_end = b->Finish();
    ASSERT_EQ(a_end.status, 128 + SIGKILL);
    ASSERT_EQ(b_end.status, 0) << b_end.out;
    const std::string killed_in = a_end.out.substr(a_end.out.rfind("A runs ") + 7);

    // Each task ran to its end once: A's finished before it was killed, B's the rest, the task A
    // was killed in among them.
    auto rows = db->Query("select task_key, next_run is null, last_code, last_host from tlhost_schedule", {});
    std::map<std::string, int> by_host;
    for (rows->First(); !rows->Eof(); rows->Next()) {
        const std::string task = rows->AsText(0);
        SCOPED_TRACE(task);
        EXPECT_EQ(rows->AsInteger(1), 1);
        EXPECT_EQ(rows->AsInteger(2), 0);
        ++by_host[rows->AsText(3)];
        const bool b_ran = rows->AsText(3) == "B";
        EXPECT_EQ(Occurrences(b_end.out, task + ": 0 "), b_ran ? 1 : 0) << b_end.out;
        if (killed_in.starts_with(task)) {
            EXPECT_TRUE(b_ran);
        }
    }
    EXPECT_EQ(by_host["A"] + by_host["B"], static_cast<int>(tasks.size()));
    EXPECT_GE(by_host["A"], 1);
    EXPECT_GE(by_host["B"], 2);
    EXPECT_EQ(StoredResultRows(*db), single_host);
}

} // namespace
} // namespace tl
