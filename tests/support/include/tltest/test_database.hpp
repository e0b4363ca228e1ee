// The database a test works on. By default a SQLite file; when the environment variable
// TL_TEST_DATABASE holds a PostgreSQL URI (scripts/with-postgres.sh sets it), a schema of the test's
// own in that database instead, made empty when the object is made and dropped with it, so that
// tests running at the same time never meet. Uri() is what Connection::Open and tlhost --db take;
// a PostgreSQL URI carries the schema as the connection's search path, so every connection opened
// with it (a host's worker, a tlhost process) sees the same tables.
#pragma once

#include <filesystem>
#include <string>

namespace tl::testing {

// The PostgreSQL URI the tests run on, empty when they run on SQLite.
std::string PostgresTestServer();

class TestDatabase {
public:
    // `sqlite_file` is the database on SQLite (not created here: opening it creates it).
    explicit TestDatabase(const std::filesystem::path& sqlite_file);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::string& Uri() const { return uri_; }
    bool OnPostgres() const { return !schema_.empty(); }

private:
    std::string uri_;
    std::string schema_;
};

} // namespace tl::testing
