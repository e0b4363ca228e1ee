// Failures a night run meets, through the real tlhost, driver and SQLite: each query and each
// store failing in turn, a dropped table, a write lock held past the busy timeout, a full disk, and
// a host killed in the middle of a run. Each ends with its task failed, exit status 3, the
// database's own text, the passes stored before the failure kept whole, and the task's run log
// kept. Runs stopped by the timeout or a signal end so too, with exit status 4.
#include "host_test_support.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlplatform/db_connection.hpp"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <map>
#include <thread>

namespace tl::host {
namespace {

using namespace tl::host::testing;
namespace fs = std::filesystem;

constexpr const char* kDemo = "\\Scripts\\Demo\\";
constexpr const char* kFormulas = "\\Scripts\\DemoFormulas\\";

// Result rows per parameter number (one parameter a pass).
using StoredRows = std::map<int32_t, std::vector<std::string>>;

StoredRows ReadResults(const fs::path& database) {
    StoredRows rows;
    for (std::string& row : StoredResultRows(*db::Connection::OpenExisting(database.string()))) {
        rows[std::stoi(row)].push_back(std::move(row));
    }
    return rows;
}

class TlhostFaultTest : public ::testing::Test {
protected:
    // One demo database for the suite: its results removed (the inputs of every case), and the
    // rows an uninterrupted run of the coefficient task stores.
    static void SetUpTestSuite() {
        dir_ = new ScratchDir;
        const Outcome demo = RunTlhost(dir_->Path(), "demo.db", {"demo"});
        ASSERT_EQ(demo.status, 0) << demo.out << demo.err;
        {
            auto db = db::Connection::OpenExisting(Clean().string());
            db->Execute("delete from data where parnumber >= 30000");
        }
        const fs::path reference = Copy("reference");
        const Outcome run = Tlhost(reference.parent_path(), {"run", kDemo});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
        reference_ = new StoredRows(ReadResults(reference));
        ASSERT_EQ(reference_->size(), 7u); // one result parameter per pass
    }
    static void TearDownTestSuite() {
        delete reference_;
        delete dir_;
    }

    static fs::path Clean() { return dir_->Path() / "demo.db"; }

    // A copy of the clean database in a directory of its own.
    static fs::path Copy(const std::string& name) {
        const fs::path directory = dir_->Path() / name;
        fs::create_directories(directory);
        fs::copy_file(Clean(), directory / "demo.db", fs::copy_options::overwrite_existing);
        return directory / "demo.db";
    }

    static Outcome Tlhost(const fs::path& cwd, std::vector<std::string> args, ProcessOptions options = {}) {
        args.insert(args.begin(), {"--log-dir", "logs"});
        return RunTlhost(cwd, "demo.db", args, options);
    }

    // The stored results are those of the first `passes` passes of the reference run, each whole.
    static void ExpectFirstPasses(const fs::path& database, size_t min_passes, size_t max_passes) {
        const StoredRows stored = ReadResults(database);
        size_t pass = 0;
        for (const auto& [par_number, rows] : *reference_) {
            const auto it = stored.find(par_number);
            if (it == stored.end()) {
                break;
            }
            EXPECT_EQ(it->second, rows) << "parameter " << par_number;
            ++pass;
        }
        EXPECT_EQ(stored.size(), pass) << "a later pass was stored after a missing one";
        EXPECT_GE(pass, min_passes);
        EXPECT_LE(pass, max_passes);
    }

    // The summary names the task's kept log, which holds the driver's whole log.
    static void ExpectLogKept(const Outcome& run) {
        const std::string path = KeptLogPath(run);
        ASSERT_FALSE(path.empty()) << run.out;
        EXPECT_TRUE(Contains(Cp1251ToUtf8(ReadFile(path)),
                             "----------------Не рассчитанные объекты-------------------"))
            << path;
    }

    static ScratchDir* dir_;
    static StoredRows* reference_;
};

ScratchDir* TlhostFaultTest::dir_ = nullptr;
StoredRows* TlhostFaultTest::reference_ = nullptr;

TEST_F(TlhostFaultTest, EachQueryAndEachStoreFailingInTurnStopsTheTask) {
    struct Case {
        std::string fault;
        size_t passes;          // stored before the failure
        std::vector<int> codes; // the task's result code
    };
    // The coefficient task asks for the element states, then for each pass's data; it stores each
    // pass when it asks for the next one's, and the last one as it ends. A pass is stored while the
    // next one is read and computed, so a failed store stops the task unless the driver has ended
    // it meanwhile (always so for the last store); the stores after the failed one are not written.
    std::vector<Case> cases;
    for (int query = 1; query <= 8; ++query) {
        cases.push_back({fmt::format("query:{}", query), static_cast<size_t>(std::max(0, query - 2)), {5}});
    }
    for (int store = 1; store <= 7; ++store) {
        cases.push_back({fmt::format("store:{}", store), static_cast<size_t>(store - 1),
                         store == 7 ? std::vector<int>{0} : std::vector<int>{5, 0}});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        const fs::path database = Copy(c.fault.substr(0, 5) + c.fault.substr(6));
        const Outcome run = Tlhost(database.parent_path(), {"run", kDemo},
                                   ProcessOptions{{"TLHOST_INJECT_FAULT=" + c.fault}, false, 0});
        EXPECT_EQ(run.status, 3) << run.out << run.err;
        const std::string what = c.fault.starts_with("query") ? "query" : "store";
        EXPECT_TRUE(std::any_of(c.codes.begin(), c.codes.end(), [&](int code) {
            return Contains(run.out, fmt::format("{}: {} ", kDemo, code));
        })) << run.out;
        EXPECT_TRUE(Contains(run.out, fmt::format("; FAILED: {} failed: injected fault", what))) << run.out;
        EXPECT_TRUE(Contains(run.out, fmt::format("failed {}s: 1", what == "query" ? "querie" : what)))
            << run.out;
        EXPECT_TRUE(Contains(run.err, "injected fault")) << run.err;
        ExpectFirstPasses(database, c.passes, c.passes);
        ExpectLogKept(run);
    }
}

TEST_F(TlhostFaultTest, RealFaultsOfTheDatabaseStopTheTaskWithTheDatabasesText) {
    struct Case {
        const char* name;
        const char* setup_sql; // on the case's database before the run
        bool hold_write_lock;  // another connection's write transaction open for the whole run
        long file_size_limit;  // of the tlhost process
        const char* kind;      // "query" or "store"
        const char* failure;   // the text in the summary line and on stderr
        size_t min_passes, max_passes;
    };
    const Case cases[] = {
        {"a dropped table", "drop table eventlist", false, 0, "query", "no such table: eventlist", 0, 0},
        {"a write lock held past the busy timeout", nullptr, true, 0, "store", "database is locked", 0, 0},
        // The file-size limit lets the first pass into the write-ahead log, and not every later one.
        {"a full disk", nullptr, false, 256 * 1024, "store", "", 1, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path database = Copy(fmt::format("real-{}", &c - cases));
        if (c.setup_sql != nullptr) {
            db::Connection::OpenExisting(database.string())->Execute(c.setup_sql);
        }
        std::unique_ptr<db::Connection> holder;
        if (c.hold_write_lock) {
            holder = db::Connection::OpenExisting(database.string());
            holder->Begin();
        }
        ProcessOptions limited;
        limited.file_size_limit = c.file_size_limit;
        const Outcome run = Tlhost(database.parent_path(), {"--busy-timeout", "0.3", "run", kDemo}, limited);
        holder.reset();
        EXPECT_EQ(run.status, 3) << run.out << run.err;
        EXPECT_TRUE(EndedByFailure(run.out, kDemo, c.kind)) << run.out;
        EXPECT_TRUE(Contains(run.out, c.failure)) << c.failure << "\n" << run.out;
        EXPECT_TRUE(Contains(run.err, c.failure)) << c.failure << "\n" << run.err;
        ExpectFirstPasses(database, c.min_passes, c.max_passes);
        ExpectLogKept(run);
    }
}

TEST_F(TlhostFaultTest, AKilledHostLeavesAWholeDatabaseAndNoLockBehind) {
    const fs::path database = Copy("killed");
    const fs::path cwd = database.parent_path();
    // A write lock of this test, taken before the run starts, keeps the run waiting at its first
    // store until it is killed; a fast run could otherwise end between a look and the lock.
    auto watcher = db::Connection::OpenExisting(database.string());
    watcher->Begin();
    StartedProcess first(TLHOST_PATH, cwd,
                         {"--db", "demo.db", "--log-dir", "logs", "--busy-timeout", "60", "run", kDemo});
    // The task's lock is taken before the task starts.
    ASSERT_TRUE(WaitUntil([&] { return Contains(first.OutputSoFar(), "Demo: Начало работы"); }))
        << "the task did not start";

    // The same task again while the first host runs it: refused, naming that host.
    const Outcome second = Tlhost(cwd, {"run", kDemo});
    EXPECT_EQ(second.status, 1) << second.out << second.err;
    EXPECT_TRUE(Contains(second.err,
                         fmt::format("the task {} is already running on this database (tlhost process {})",
                                     kDemo, first.Pid())))
        << second.err;

    kill(first.Pid(), SIGKILL);
    EXPECT_EQ(first.Finish().status, 128 + SIGKILL);
    watcher->Rollback();
    EXPECT_EQ(watcher->Query("pragma integrity_check", {})->AsText(0), "ok");
    watcher.reset();
    ExpectFirstPasses(database, 0, 0);

    // The killed host's lock went with it: the rerun stores what an uninterrupted run stores.
    const Outcome rerun = Tlhost(cwd, {"run", kDemo});
    EXPECT_EQ(rerun.status, 0) << rerun.out << rerun.err;
    EXPECT_EQ(ReadResults(database), *reference_);
}

// The timeout passes before the first answer, and SIGTERM comes once the task has started, both
// while the run waits at its first store for a write lock this test holds. SIGINT comes while a
// formula loops for ever in its first run, inside StartAction, where the host's event loop never
// gets control back: only the interrupt flag the host raises ends the script.
TEST_F(TlhostFaultTest, ATimeoutOrASignalStopsTheRunWithExitStatusFour) {
    struct Case {
        const char* name;
        const char* common_script; // put before the formula task's own; nullptr: the coefficient task
        const char* timeout;       // nullptr: `signal` once the output shows `started`
        int signal;
        const char* started;
        std::string stopped;
        std::string message;
    } const cases[] = {
        {"timeout", nullptr, "0.001", 0, nullptr, "stopped by the timeout", "tlhost: timeout after 0.001 s"},
        {"SIGTERM", nullptr, nullptr, SIGTERM, "Demo: Начало работы", "stopped by an interrupt",
         "tlhost: interrupted"},
        {"SIGINT in an endless formula", "while True do ;\r\n", nullptr, SIGINT, "Общее количество объектов",
         "stopped by an interrupt", "tlhost: interrupted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path database = Copy(fmt::format("stopped-{}", &c - cases));
        const fs::path directory = database.parent_path();
        std::string task = kDemo;
        if (c.common_script != nullptr) {
            task = "\\Scripts\\Endless\\";
            ASSERT_EQ(Tlhost(directory, {"tasks", "copy", kFormulas, task}).status, 0);
            auto db = db::Connection::OpenExisting(database.string());
            db->Execute(
                fmt::format("update settings set value = '{}' || value where section = '{}Object\\' and "
                            "key = 'CommonScript'",
                            c.common_script, task));
            ASSERT_EQ(
                db->Query("select count(*) from settings where value like 'while True%'", {})->AsInteger(0),
                1);
        }
        std::vector<std::string> args = {"--db", "demo.db", "--log-dir", "logs", "run", task};
        if (c.timeout != nullptr) {
            args.insert(args.end(), {"--timeout", c.timeout});
        }
        auto holder = db::Connection::OpenExisting(database.string());
        holder->Begin();
        StartedProcess run(TLHOST_PATH, directory, args);
        if (c.timeout == nullptr) {
            ASSERT_TRUE(WaitUntil([&] { return Contains(run.OutputSoFar(), c.started); }))
                << "the task did not start";
            kill(run.Pid(), c.signal);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
        holder->Rollback();
        const Outcome outcome = run.Finish();
        EXPECT_EQ(outcome.status, 4) << outcome.out << outcome.err;
        EXPECT_TRUE(Contains(outcome.out, fmt::format("{}: 5 Прервано; {}; ", task, c.stopped)))
            << outcome.out;
        EXPECT_TRUE(Contains(outcome.out, "Статус выполнения: Прервано")) << outcome.out;
        EXPECT_TRUE(Contains(outcome.err, c.message)) << outcome.err;
        ExpectFirstPasses(database, 0, 1);
        ExpectLogKept(outcome);
    }
}

} // namespace
} // namespace tl::host
