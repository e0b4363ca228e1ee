// Task locks on the test database: the same task is refused while its lock is held, by this host
// and, on a PostgreSQL server, by another connection but not by another schema's tasks, and free
// again once the lock goes. (Locks of other processes on a SQLite file are tested end to end with
// tlhost.)
#include "host_test_support.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/run_lock.hpp"
#include "tlplatform/db_connection.hpp"
#include "tltest/test_database.hpp"

#include <gtest/gtest.h>

namespace tl::host {
namespace {

std::string ErrorOf(RunLocks& locks, std::string_view key) {
    try {
        locks.Acquire(key);
    } catch (const HostError& e) {
        return e.what();
    }
    return "(acquired)";
}

TEST(RunLocks, ATaskRunsOnceWhileItsLockIsHeld) {
    testing::ScratchDir dir;
    const tl::testing::TestDatabase database(dir / "metering.db");
    tl::db::InitSchema(*tl::db::Connection::Open(database.Uri()));
    const auto locks = OpenRunLocks(database.Uri());
    auto held = locks->Acquire("\\Scripts\\Losses1\\");
    EXPECT_NE(ErrorOf(*locks, "\\SCRIPTS\\losses1\\").find("already running in this tlhost"),
              std::string::npos);
    EXPECT_NE(locks->Acquire("\\Scripts\\Losses2\\"), nullptr);
    if (database.OnPostgres()) {
        const auto other_host = OpenRunLocks(database.Uri());
        EXPECT_NE(ErrorOf(*other_host, "\\Scripts\\Losses1\\").find("already running on this database"),
                  std::string::npos);
        // Another metering database, kept as another schema of the same server database.
        const tl::testing::TestDatabase other_schema(dir / "other.db");
        EXPECT_NE(OpenRunLocks(other_schema.Uri())->Acquire("\\Scripts\\Losses1\\"), nullptr);
        held.reset();
        EXPECT_NE(other_host->Acquire("\\Scripts\\Losses1\\"), nullptr);
    } else {
        held.reset();
        EXPECT_NE(locks->Acquire("\\Scripts\\Losses1\\"), nullptr);
    }
}

} // namespace
} // namespace tl::host
