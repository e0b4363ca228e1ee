// The demo on SQLite and on PostgreSQL stores the same rows, bit for bit: the same driver and the
// same SQL texts on either engine. Skipped unless the tests run beside a server
// (scripts/with-postgres.sh).
#include "host_test_support.hpp"
#include "tlplatform/db_connection.hpp"
#include "tltest/test_database.hpp"

#include <bit>
#include <fmt/format.h>
#include <gtest/gtest.h>

namespace tl {
namespace {

namespace fs = std::filesystem;

// Every result row, with the reals as their bits; the receive stamp only where it is the task's
// (method 0, channels of type 0): the formula task stamps each row with the time it was built.
std::vector<std::string> StoredResults(const std::string& uri) {
    auto db = db::Connection::OpenExisting(uri);
    auto set =
        db->Query("select parnumber, data_date, object, objtype, item, season, value0, value1, tvkstatus, "
                  "rcvstamp from data where parnumber >= 30000 "
                  "order by parnumber, data_date, season, object, item, objtype",
                  {});
    std::vector<std::string> rows;
    const auto bits = [&](int field) { return std::bit_cast<uint64_t>(set->AsDouble(field)); };
    for (set->First(); !set->Eof(); set->Next()) {
        rows.push_back(fmt::format("{} {:x} {}.{}.{} {} {:x} {:x} {} {:x}", set->AsInteger(0), bits(1),
                                   set->AsInteger(2), set->AsInteger(3), set->AsInteger(4), set->AsInteger(5),
                                   bits(6), bits(7), set->StatusWord(),
                                   set->AsInteger(3) == 0 ? bits(9) : 0));
    }
    return rows;
}

TEST(DemoOnBothEngines, StoresTheSameRows) {
    if (tl::testing::PostgresTestServer().empty()) {
        GTEST_SKIP() << "no PostgreSQL server: run under scripts/with-postgres.sh";
    }
    host::testing::ScratchDir dir;
    const tl::testing::TestDatabase server(dir / "unused.db");
    std::vector<std::vector<std::string>> results;
    for (const std::string& database : {(dir / "demo.db").string(), server.Uri()}) {
        SCOPED_TRACE(database);
        const auto run = host::testing::RunProcess(
            TLHOST_PATH, dir.Path(), {"demo", "--db", database, "--log-dir", (dir / "logs").string()});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
        results.push_back(StoredResults(database));
    }
    EXPECT_GT(results[0].size(), 1000u);
    EXPECT_EQ(results[0], results[1]);
}

} // namespace
} // namespace tl
