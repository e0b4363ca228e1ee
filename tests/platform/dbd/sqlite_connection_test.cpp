#include "test_support.hpp"
#include "tlplatform/db_connection.hpp"

#include <bit>
#include <fmt/format.h>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

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
        {"postgresql://localhost/metering", OpenMode::Existing, "no PostgreSQL support"},
    };
    for (const auto& c : cases) {
        if (c.error_part == nullptr) {
            auto db = Connection::Open(c.uri, c.mode);
            EXPECT_EQ(db->Uri(), c.uri);
            EXPECT_EQ(db->BackendName(), "sqlite");
            continue;
        }
        const std::string error = ErrorOf([&] { Connection::Open(c.uri, c.mode); });
        EXPECT_NE(error.find(c.error_part), std::string::npos) << c.uri << ": " << error;
    }
}

TEST(SqliteConnection, ExecutesSeveralStatementsBindingAcrossThem) {
    auto db = Connection::Open(":memory:");
    const TlVariant values[] = {Int(1), Str("a"), Int(2), Str("b")};
    EXPECT_EQ(db->Execute("create table t (n integer, s text);"
                          "insert into t values (:n, :s); -- first row\n"
                          "insert into t values (:n, :s);",
                          values),
              2);
    EXPECT_EQ(db->Query("select group_concat(n || s) from (select n, s from t order by n)", {})->AsText(0),
              "1a,2b");
}

TEST(SqliteConnection, ReportsBadStatementsClearly) {
    auto db = Connection::Open(":memory:");
    TlVariant odd{};
    odd.kind = 99;
    struct Case {
        const char* sql;
        TlVariant value;
        const char* error_part;
    };
    const Case cases[] = {
        {"select * from nosuch", Int(1), "no such table: nosuch"},
        {"select 1; select 2", Int(1), "a query is one statement"},
        {"   ", Int(1), "holds no statement"},
        {"select ?", Int(1), "parameter markers other than :name"},
        {"select :a, :b", Int(1), "2 parameter(s) (:a, :b) but 1 value(s)"},
        {"select :v", odd, "unknown variant kind 99"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf([&] { db->Query(c.sql, {&c.value, 1}); });
        EXPECT_NE(error.find(c.error_part), std::string::npos) << c.sql << ": " << error;
    }
}

TEST(SqliteConnection, InsertOrReplaceRefusesBadShapes) {
    auto db = Connection::Open(":memory:");
    InitSchema(*db);
    const std::string_view good[] = {"parnumber"};
    const std::string_view injected[] = {"parnumber) values (1); drop table data; --"};
    const TlVariant one[] = {Int(1)};
    EXPECT_THROW(db->InsertOrReplace("data", good, {}), Error);
    EXPECT_THROW(db->InsertOrReplace("data", {}, {}), Error);
    EXPECT_THROW(db->InsertOrReplace("data; drop table data", good, one), Error);
    EXPECT_THROW(db->InsertOrReplace("data", injected, one), Error);
    EXPECT_THROW(db->InsertOrReplace("nosuch", good, one), Error);
    // data needs object, objtype, item and data_date as well
    EXPECT_THROW(db->InsertOrReplace("data", good, one), Error);
    EXPECT_EQ(db->Query("select count(*) from data", {})->AsInteger(0), 0);
}

TEST(SqliteConnection, InsertOrReplaceTellsShapesApartByTheirNames) {
    auto db = Connection::Open(":memory:");
    InitSchema(*db);
    // One buffer of names, changed in place between rows: the same addresses and sizes, other columns.
    std::string buffer[] = {"parnumber", "object", "objtype", "item", "data_date", "value0", "tvkstatus"};
    std::string_view names[std::size(buffer)];
    const auto write = [&](int item, double value, double status_carrier) {
        std::copy(std::begin(buffer), std::end(buffer), names);
        const TlVariant values[] = {
            Int(12), Int(5), Int(99), Int(item), Date(41944.5), Double(value), Double(status_carrier)};
        db->InsertOrReplace("data", names, values);
    };
    const double status_bits = std::bit_cast<double>(int64_t{0x40000});
    write(1, 1.5, status_bits);
    buffer[5] = "value1";
    write(2, 2.5, status_bits);
    buffer[5] = "value0";
    buffer[6] = "rcvstamp"; // no status column: the double stays a double
    write(3, 3.5, 41945.25);
    buffer[5] = "value1";
    buffer[6] = "TvkStatus";
    write(4, 4.5, 0.0);

    // value0|value1|tvkstatus|rcvstamp of each row, the status word stored as an integer
    auto set =
        db->Query("select group_concat(r, ' ') from (select ifnull(value0, '') || '|' || ifnull(value1, '') "
                  "|| '|' || tvkstatus || '|' || ifnull(rcvstamp, '') as r from data order by item)",
                  {});
    EXPECT_EQ(set->AsText(0), "1.5||262144| |2.5|262144| 3.5||0|41945.25 |4.5|0|");
}

TEST(SqliteConnection, InsertOrReplaceServesManyShapesAndSurvivesAFailedRow) {
    auto db = Connection::Open(":memory:");
    constexpr int kTables = 70; // more shapes than are kept prepared at once
    for (int t = 0; t < kTables; ++t) {
        db->Execute("create table t" + std::to_string(t) + " (k integer primary key, v integer not null)");
    }
    const std::string_view names[] = {"k", "v"};
    for (int round = 0; round < 2; ++round) {
        for (int t = 0; t < kTables; ++t) {
            const TlVariant values[] = {Int(round), Int(t * 10 + round)};
            db->InsertOrReplace("t" + std::to_string(t), names, values);
        }
    }
    const TlVariant refused[] = {Int(5), Null()};
    EXPECT_THROW(db->InsertOrReplace("t0", names, refused), Error);
    const TlVariant accepted[] = {Int(6), Int(60)};
    db->InsertOrReplace("t0", names, accepted);

    for (int t = 0; t < kTables; ++t) {
        auto set = db->Query(
            "select group_concat(v) from (select v from t" + std::to_string(t) + " order by k)", {});
        const std::string rows = fmt::format("{},{}{}", t * 10, t * 10 + 1, t == 0 ? ",60" : "");
        EXPECT_EQ(set->AsText(0), rows) << t;
    }
}

TEST(SqliteConnection, ReadsOneHundredThousandRowsBackExactly) {
    auto db = Connection::Open(":memory:");
    InitSchema(*db);
    constexpr int kRows = 100'000;
    const auto value0 = [](int i) { return i * 0.1 + 1.0 / 3.0; };
    const auto status = [](int i) { return (int64_t{i} << 32) | (i % 2 == 0 ? 0x40000 : 0); };
    const std::string_view names[] = {"parnumber", "object", "objtype",  "item",
                                      "data_date", "value0", "tvkstatus"};
    db->Begin();
    for (int i = 0; i < kRows; ++i) {
        const TlVariant values[] = {
            Int(12),           Int(i % 97),     Int(99), Int(i), Date(41944.0 + i / 48.0),
            Double(value0(i)), Int64(status(i))};
        db->InsertOrReplace("data", names, values);
    }
    db->Commit();

    auto set = db->Query("select item, data_date, value0, tvkstatus, value1 from data order by item", {});
    ASSERT_EQ(set->RowCount(), kRows);
    int i = 0;
    for (set->First(); !set->Eof(); set->Next(), ++i) {
        ASSERT_EQ(set->AsInteger(0), i);
        ASSERT_EQ(set->AsDateTime(1), 41944.0 + i / 48.0) << i;
        ASSERT_EQ(set->AsDouble(2), value0(i)) << i;
        ASSERT_EQ(set->StatusWord(), status(i)) << i;
        ASSERT_TRUE(set->IsNull(4)) << i;
    }
    EXPECT_EQ(i, kRows);
}

TEST(SqliteConnection, AWorkerConnectionReadsWhileTheMainOneWrites) {
    TempDir dir;
    const std::string path = dir.File("shared.db");
    auto main_connection = Connection::Open(path);
    InitSchema(*main_connection);
    EXPECT_EQ(main_connection->Query("pragma journal_mode", {})->AsText(0), "wal");
    main_connection->Execute("insert into parameters (parnumber, name) values (9001, 'committed')");

    main_connection->Begin();
    main_connection->Execute("insert into parameters (parnumber, name) values (9002, 'pending')");
    int32_t seen = -1;
    std::thread worker([&] {
        auto worker_connection = Connection::OpenExisting(path);
        seen = worker_connection->Query("select count(*) from parameters where parnumber > 9000", {})
                   ->AsInteger(0);
    });
    worker.join();
    main_connection->Commit();
    EXPECT_EQ(seen, 1); // the reader was not blocked and saw the committed state only
}

TEST(SqliteConnection, AWriterWaitsForAnotherWriterInsteadOfFailing) {
    TempDir dir;
    const std::string path = dir.File("busy.db");
    auto first = Connection::Open(path);
    InitSchema(*first);
    first->Begin();
    first->Execute("insert into parameters (parnumber) values (9001)");
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        first->Commit();
    });
    auto second = Connection::OpenExisting(path);
    EXPECT_NO_THROW(second->Execute("insert into parameters (parnumber) values (9002)"));
    releaser.join();
    EXPECT_EQ(second->Query("select count(*) from parameters where parnumber > 9000", {})->AsInteger(0), 2);
}

} // namespace
} // namespace tl::db
