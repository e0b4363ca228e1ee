// tlhost on a PostgreSQL server: the demo stores the same rows as on SQLite, bit for bit (the same
// driver and the same SQL texts on either engine), the commands that read them answer the same,
// and a lock held past the busy timeout stops a task as on SQLite. Skipped unless the tests run
// beside a server (scripts/with-postgres.sh).
#include "host_test_support.hpp"
#include "tlplatform/db_connection.hpp"
#include "tltest/test_database.hpp"

#include <fstream>
#include <gtest/gtest.h>

namespace tl {
namespace {

namespace fs = std::filesystem;

using host::testing::Contains;

#define SKIP_WITHOUT_SERVER()                                                                                \
    if (tl::testing::PostgresTestServer().empty()) {                                                         \
        GTEST_SKIP() << "no PostgreSQL server: run under scripts/with-postgres.sh";                          \
    }

// The report without its line naming the database and the time it was written.
std::string WithoutMeta(std::string page) {
    const size_t meta = page.find("<p class=\"meta\">");
    if (meta != std::string::npos) {
        page.erase(meta, page.find('\n', meta) - meta);
    }
    return page;
}

// The demo's run, then the commands that read what it stored, give the same on either engine.
TEST(TlhostOnPostgres, TheDemoStoresTheSameRowsAsOnSqlite) {
    SKIP_WITHOUT_SERVER();
    host::testing::ScratchDir dir;
    const tl::testing::TestDatabase server(dir / "unused.db");
    std::ofstream(dir / "chart.js") << "// no charts here\n";
    const std::vector<std::vector<std::string>> readers = {
        {"results", "export", "\\Scripts\\Demo\\", "\\Scripts\\DemoFormulas\\"},
        {"tasks", "--json"},
        {"report", "\\Scripts\\Demo\\", "\\Scripts\\DemoFormulas\\", "--chart-js",
         (dir / "chart.js").string()},
    };
    std::vector<std::vector<std::string>> results;
    std::vector<std::vector<std::string>> outputs;
    for (const std::string& database : {(dir / "demo.db").string(), server.Uri()}) {
        SCOPED_TRACE(database);
        const auto run =
            host::testing::RunTlhost(dir.Path(), database, {"demo", "--log-dir", (dir / "logs").string()});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
        results.push_back(host::testing::StoredResultRows(*db::Connection::OpenExisting(database), true));
        outputs.emplace_back();
        for (const std::vector<std::string>& args : readers) {
            const auto read = host::testing::RunTlhost(dir.Path(), database, args);
            ASSERT_EQ(read.status, 0) << args[0] << ": " << read.err;
            outputs.back().push_back(WithoutMeta(read.out));
        }
    }
    EXPECT_GT(results[0].size(), 1000u);
    EXPECT_EQ(results[0], results[1]);
    for (size_t i = 0; i < readers.size(); ++i) {
        EXPECT_GT(outputs[0][i].size(), 100u) << readers[i][0];
        EXPECT_EQ(outputs[0][i], outputs[1][i]) << readers[i][0];
    }
}

// A table held past the busy timeout, which on the server is the time a statement waits for a lock:
// no pass is stored. (How any other failure of a query reaches the summary is the same host code as
// on SQLite, TlhostFaultTest's.)
TEST(TlhostOnPostgres, ALockHeldPastTheBusyTimeoutStopsTheTaskWithTheServersText) {
    SKIP_WITHOUT_SERVER();
    host::testing::ScratchDir dir;
    const tl::testing::TestDatabase server(dir / "unused.db");
    const auto tlhost = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--log-dir", (dir / "logs").string()});
        return host::testing::RunTlhost(dir.Path(), server.Uri(), args);
    };
    const auto demo = tlhost({"demo"});
    ASSERT_EQ(demo.status, 0) << demo.out << demo.err;
    const char* task = "\\Scripts\\Demo\\";
    auto db = db::Connection::OpenExisting(server.Uri());
    db->Execute("delete from data where parnumber >= 30000");
    auto holder = db::Connection::OpenExisting(server.Uri());
    holder->Begin();
    holder->Execute("lock table data in exclusive mode");
    const auto run = tlhost({"--busy-timeout", "0.3", "run", task});
    holder.reset(); // rolls back
    EXPECT_EQ(run.status, 3) << run.out << run.err;
    EXPECT_TRUE(host::testing::EndedByFailure(run.out, task, "store")) << run.out;
    EXPECT_TRUE(Contains(run.out, "canceling statement due to lock timeout")) << run.out;
    EXPECT_TRUE(Contains(run.err, "canceling statement due to lock timeout")) << run.err;
    EXPECT_EQ(db->Query("select count(*) from data where parnumber >= 30000", {})->AsInteger(0), 0);
}

} // namespace
} // namespace tl
