#include "test_support.hpp"
#include "tlplatform/db_connection.hpp"

#include <fstream>
#include <gtest/gtest.h>

namespace tl::db {
namespace {

using namespace test;

TEST(SqliteConnection, BindsEveryVariantKind) {
    auto db = Connection::Open(":memory:");
    struct Case {
        const char* name;
        TlVariant value;
        const char* sql_type;
        const char* text;
    };
    const Case cases[] = {
        {"null", Null(), "null", ""},
        {"int32", Int(-7), "integer", "-7"},
        {"int64", Int64(int64_t{1} << 40), "integer", "1099511627776"},
        {"bool true", Bool(true), "integer", "1"},
        {"bool false", Bool(false), "integer", "0"},
        {"double", Double(0.1), "real", "0.1"},
        {"date-time", Date(41944.75), "real", "41944.75"},
        {"string", Str("Линия 110 кВ"), "text", "Линия 110 кВ"},
        {"null string", Str(nullptr), "null", ""},
    };
    for (const auto& c : cases) {
        const TlVariant params[] = {c.value, c.value};
        auto set = db->Query("select typeof(:v) as t, :v as v", params);
        ASSERT_EQ(set->RowCount(), 1) << c.name;
        set->First();
        EXPECT_EQ(set->AsText(0), c.sql_type) << c.name;
        EXPECT_EQ(set->AsText(1), c.text) << c.name;
    }
}

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
        if (c.error_part == nullptr) {
            auto db = Connection::Open(c.uri, c.mode);
            EXPECT_EQ(db->Uri(), c.uri);
            EXPECT_EQ(db->BackendName(), "sqlite");
            // readers of other connections go on while one connection writes
            EXPECT_EQ(db->Query("pragma journal_mode", {})->AsText(0), "wal");
            continue;
        }
        const std::string error = ErrorOf([&] { Connection::Open(c.uri, c.mode); });
        EXPECT_NE(error.find(c.error_part), std::string::npos) << c.uri << ": " << error;
    }
}

TEST(SqliteConnection, ReportsBadStatementsClearly) {
    auto db = Connection::Open(":memory:");
    struct Case {
        const char* sql;
        TlVariant value;
        const char* error_part;
    };
    const Case cases[] = {
        {"   ", Int(1), "holds no statement"},
        {"select ?", Int(1), "parameter markers other than :name"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf([&] { db->Query(c.sql, {&c.value, 1}); });
        EXPECT_NE(error.find(c.error_part), std::string::npos) << c.sql << ": " << error;
    }
}

} // namespace
} // namespace tl::db
