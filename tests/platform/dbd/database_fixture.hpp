// The connection tests' database: SQLite in a directory of its own, or a schema of its own on
// PostgreSQL under scripts/with-postgres.sh; the metering tables made.
#pragma once

#include "test_support.hpp"
#include "tltest/test_database.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

namespace tl::db::test {

class OnTestDatabase : public ::testing::Test {
protected:
    OnTestDatabase() : database_(dir_.File("metering.db")), db_(Connection::Open(database_.Uri())) {
        InitSchema(*db_);
    }

    bool OnPostgres() const { return database_.OnPostgres(); }
    std::vector<std::string> Rows(const std::string& sql) { return RowsAsText(*db_->Query(sql, {})); }
    int64_t Count(const char* table) {
        return db_->Query(fmt::format("select count(*) from {}", table), {})->AsInt64(0);
    }

    TempDir dir_;
    tl::testing::TestDatabase database_;
    std::unique_ptr<Connection> db_;
};

} // namespace tl::db::test
