// Opening SQLite databases by path or URI, and what cannot be opened.
#include "test_support.hpp"
#include "tlplatform/db_connection.hpp"

#include <fstream>
#include <gtest/gtest.h>

namespace tl::db {
namespace {

using namespace test;

TEST(SqliteConnection, OpensByUriAndRefusesWhatItCannotOpen) {
    TempDir dir;
    const std::string path = dir.File("metering.db");
    {
        std::ofstream junk(dir.File("junk.db"));
        junk << std::string(4096, 'x');
    }
    struct Case {
        std::string uri;
        OpenMode mode;
        const char* error_part; // nullptr: opens
    };
    const Case cases[] = {
        {path, OpenMode::Existing, "does not exist"},
        {"sqlite:" + path, OpenMode::CreateIfMissing, nullptr},
        {path, OpenMode::Existing, nullptr}, // made by the case before
        {"sqlite://" + path, OpenMode::Existing, nullptr},
        {dir.File(""), OpenMode::Existing, "is a directory"},
        {dir.File("junk.db"), OpenMode::Existing, "not a database"},
        {dir.File("no/such/dir.db"), OpenMode::CreateIfMissing, "cannot open database"},
        {"", OpenMode::CreateIfMissing, "no database file given"},
        {"postgresql://127.0.0.1:1/metering", OpenMode::Existing, "cannot connect to the PostgreSQL server"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf([&] { Connection::Open(c.uri, c.mode); });
        EXPECT_NE(error.find(c.error_part != nullptr ? c.error_part : "(no error)"), std::string::npos)
            << c.uri << ": " << error;
    }
}

} // namespace
} // namespace tl::db
