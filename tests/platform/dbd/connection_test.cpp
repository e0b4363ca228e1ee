// What every backend does alike, on the test database (SQLite, or PostgreSQL under
// scripts/with-postgres.sh): statements and their parameters, stores that replace rows and are
// written whole or not at all, and rows read back exactly.
#include "database_fixture.hpp"
#include "tlplatform/db_connection.hpp"

#include <bit>
#include <fmt/format.h>
#include <future>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tl::db {
namespace {

using namespace test;

using ConnectionTest = OnTestDatabase;

TEST_F(ConnectionTest, BindsEveryVariantKind) {
    struct Case {
        TlVariant value;
        const char* sqlite_type;
        const char* postgres_type; // nullptr: SQLite only
        const char* text;
    };
    const Case cases[] = {
        {Null(), "null", nullptr, ""},
        {Int(-7), "integer", "bigint", "-7"},
        {Int64(int64_t{1} << 40), "integer", "bigint", "1099511627776"},
        {Bool(true), "integer", "bigint", "1"},
        {Double(0.1), "real", "double precision", "0.1"},
        {Date(41944.75), "real", "double precision", "41944.75"},
        {Str("Линия 110 кВ"), "text", "text", "Линия 110 кВ"},
        {Str(nullptr), "null", nullptr, ""},
    };
    for (const auto& c : cases) {
        if (OnPostgres() && c.postgres_type == nullptr) {
            continue;
        }
        const TlVariant params[] = {c.value, c.value};
        auto set = db_->Query(OnPostgres() ? "select pg_typeof(:v)::text, :v::text" : "select typeof(:v), :v",
                              params);
        EXPECT_EQ(set->AsText(0), OnPostgres() ? c.postgres_type : c.sqlite_type) << c.text;
        EXPECT_EQ(set->AsText(1), c.text);
    }
}

TEST_F(ConnectionTest, ExecutesSeveralStatementsBindingAcrossThem) {
    const TlVariant values[] = {Int(1), Str("a"), Int(2)};
    EXPECT_EQ(db_->Execute("create table t (n integer, s text);"
                           "insert into t values (:n, :s); -- first row; a \";\" in a comment\n"
                           "insert into t values (:n, ';');",
                           values),
              2);
    EXPECT_EQ(Rows("select n, s from t order by n"), (std::vector<std::string>{"1|a", "2|;"}));
}

TEST_F(ConnectionTest, ReportsBadStatementsClearly) {
    TlVariant odd{};
    odd.kind = 99;
    struct Case {
        const char* sql;
        TlVariant value;
        const char* sqlite_part;
        const char* postgres_part; // nullptr: SQLite only
    };
    const Case cases[] = {
        {"   ", Int(1), "holds no statement", nullptr},
        {"select ?", Int(1), "parameter markers other than :name", nullptr},
        {"select * from nosuch", Int(1), "no such table: nosuch", "relation \"nosuch\" does not exist"},
        {"select 1; select 2", Int(1), "a query is one statement", "cannot insert multiple commands"},
        {"select :a, :b", Int(1), "2 parameter(s) (:a, :b) but 1 value(s)",
         "2 parameter(s) (:a, :b) but 1 value(s)"},
        {"select :v", odd, "unknown variant kind 99", "unknown variant kind 99"},
    };
    // "select :v" is prepared and cached as "select ?": a bare "?" must still be refused after it.
    const TlVariant one = Int(1);
    db_->Query("select :v", {&one, 1});
    for (const auto& c : cases) {
        if (OnPostgres() && c.postgres_part == nullptr) {
            continue;
        }
        const std::string error = ErrorOf([&] { db_->Query(c.sql, {&c.value, 1}); });
        EXPECT_NE(error.find(OnPostgres() ? c.postgres_part : c.sqlite_part), std::string::npos)
            << c.sql << ": " << error;
    }
}

TEST_F(ConnectionTest, InsertOrReplaceRefusesBadShapes) {
    const std::string_view good[] = {"parnumber"};
    const std::string_view injected[] = {"parnumber) values (1); drop table data; --"};
    const TlVariant one[] = {Int(1)};
    EXPECT_THROW(db_->InsertOrReplace("data", good, {}), Error);
    EXPECT_THROW(db_->InsertOrReplace("data", {}, {}), Error);
    EXPECT_THROW(db_->InsertOrReplace("data; drop table data", good, one), Error);
    EXPECT_THROW(db_->InsertOrReplace("data", injected, one), Error);
    EXPECT_THROW(db_->InsertOrReplace("nosuch", good, one), Error);
    // data needs object, objtype, item and data_date as well
    EXPECT_THROW(db_->InsertOrReplace("data", good, one), Error);
    EXPECT_EQ(Count("data"), 0);
}

TEST_F(ConnectionTest, InsertOrReplaceTellsShapesApartAndReplacesWholeRows) {
    // One buffer of names, changed in place between rows: the same addresses and sizes, other columns.
    std::string buffer[] = {"parnumber", "object", "objtype", "item", "data_date", "value0", "tvkstatus"};
    std::string_view names[std::size(buffer)];
    const auto write = [&](int item, double value, double status_carrier) {
        std::copy(std::begin(buffer), std::end(buffer), names);
        const TlVariant values[] = {
            Int(12), Int(5), Int(99), Int(item), Date(41944.5), Double(value), Double(status_carrier)};
        db_->InsertOrReplace("data", names, values);
    };
    const double status_bits = std::bit_cast<double>(int64_t{0x40000});
    db_->Begin();
    write(1, 1.5, status_bits);
    buffer[5] = "value1";
    write(2, 2.5, status_bits);
    buffer[5] = "value0";
    buffer[6] = "rcvstamp"; // no status column: the double stays a double
    write(3, 3.5, 41945.25);
    buffer[5] = "value1";
    buffer[6] = "TvkStatus";
    write(4, 4.5, 0.0);
    // Item 1 again in the same store, the last one wins; the columns it leaves out take their defaults.
    write(1, 7.5, 0.0);
    db_->Commit();
    EXPECT_EQ(Rows("select item, value0, value1, tvkstatus, rcvstamp from data order by item"),
              (std::vector<std::string>{"1|null|7.5|0|null", "2|null|2.5|262144|null",
                                        "3|3.5|null|0|41945.25", "4|null|4.5|0|null"}));
    // Stored again: replaced, not added.
    buffer[5] = "value0";
    write(2, 9.5, 0.0);
    EXPECT_EQ(Rows("select item, value0, value1, tvkstatus from data where item = 2"),
              (std::vector<std::string>{"2|9.5|null|0"}));
}

TEST_F(ConnectionTest, AStoreWithAFailingRowWritesNothing) {
    const std::string_view names[] = {"parnumber", "object", "objtype", "item", "data_date", "value0"};
    const auto store = [&](int rows, bool failing) {
        db_->Begin();
        try {
            for (int i = 0; i < rows; ++i) {
                // the last row of a failing store misses its date, which the table requires
                const bool bad = failing && i == rows - 1;
                const TlVariant values[] = {
                    Int(30012), Int(5), Int(99), Int(i), bad ? Null() : Date(41944 + i), Double(i)};
                db_->InsertOrReplace("data", names, values);
            }
            db_->Commit();
        } catch (const Error&) {
            db_->Rollback();
            throw;
        }
    };
    EXPECT_THROW(store(5000, true), Error);
    EXPECT_EQ(Count("data"), 0);
    store(3, false); // the connection stores again after the failure
    EXPECT_EQ(Count("data"), 3);
}

TEST_F(ConnectionTest, InsertOrReplaceServesManyShapesAndSurvivesAFailedRow) {
    constexpr int kTables = 70; // more shapes than are kept prepared at once
    const std::string_view names[] = {"k", "v"};
    for (int t = 0; t < kTables; ++t) {
        db_->Execute(fmt::format("create table t{} (k integer primary key, v integer not null)", t));
    }
    for (int row = 0; row < 2 * kTables; ++row) {
        const TlVariant values[] = {Int(row / kTables), Int(row % kTables * 10 + row / kTables)};
        db_->InsertOrReplace(fmt::format("t{}", row % kTables), names, values);
    }
    const TlVariant refused[] = {Int(5), Null()};
    EXPECT_THROW(db_->InsertOrReplace("t0", names, refused), Error);
    const TlVariant accepted[] = {Int(6), Int(60)};
    db_->InsertOrReplace("t0", names, accepted);
    EXPECT_EQ(Rows("select v from t0 order by k"), (std::vector<std::string>{"0", "1", "60"}));
    for (int t = 1; t < kTables; ++t) {
        EXPECT_EQ(Rows(fmt::format("select v from t{} order by k", t)),
                  (std::vector<std::string>{std::to_string(t * 10), std::to_string(t * 10 + 1)}));
    }
}

// Rows handed over many at a time (SQLite writes them a batch a statement) read back exactly:
// two batches of 64 and a few rows more, a key repeated (the later row wins), reals that no
// decimal text holds, 64-bit status words carried in doubles; values that are no whole rows are
// refused.
TEST_F(ConnectionTest, InsertOrReplaceRowsWritesEveryRowAndReadsItBackExactly) {
    const std::string_view names[] = {"ParNumber", "Data_Date", "Object",   "Item",
                                      "ObjType",   "Value0",    "TvkStatus"};
    constexpr int kRows = 64 * 2 + 5;
    const auto value0 = [](int r) { return r * 0.1 + 1.0 / 3.0; };
    const auto status = [](int r) { return (int64_t{r} << 32) | (r % 2 == 0 ? 0x40000 : 0); };
    std::vector<TlVariant> values;
    for (int r = 0; r < kRows; ++r) {
        const int object = r == 70 ? 69 : r; // row 70 replaces row 69
        for (const TlVariant& v : {Int(30012), Date(41944.0 + object / 48.0), Int(object), Int(1), Int(0),
                                   Double(value0(r)), Double(std::bit_cast<double>(status(r)))}) {
            values.push_back(v);
        }
    }
    db_->Begin();
    db_->InsertOrReplaceRows("data", names, values);
    db_->Commit();
    auto set =
        db_->Query("select object, data_date, value0, tvkstatus, value1 from data order by object", {});
    ASSERT_EQ(set->RowCount(), kRows - 1);
    for (set->First(); !set->Eof(); set->Next()) {
        const int object = set->AsInteger(0);
        const int r = object == 69 ? 70 : object;
        ASSERT_EQ(set->AsDateTime(1), 41944.0 + object / 48.0) << r;
        ASSERT_EQ(set->AsDouble(2), value0(r)) << r;
        ASSERT_EQ(set->StatusWord(), status(r)) << r;
        ASSERT_TRUE(set->IsNull(4)) << r;
    }
    EXPECT_THROW(db_->InsertOrReplaceRows("data", names, std::span(values).first(8)), Error);
}

TEST_F(ConnectionTest, AWorkerConnectionReadsWhileTheMainOneWrites) {
    db_->Execute("insert into parameters (parnumber, name) values (9001, 'committed')");
    db_->Begin();
    db_->Execute("insert into parameters (parnumber, name) values (9002, 'pending')");
    std::promise<int32_t> seen;
    std::thread worker([&] {
        auto worker_connection = Connection::OpenExisting(database_.Uri());
        seen.set_value(worker_connection->Query("select count(*) from parameters where parnumber > 9000", {})
                           ->AsInteger(0));
        // a second writer waits for the first instead of failing
        worker_connection->Execute("insert into parameters (parnumber) values (9003)");
    });
    // the reader is not blocked and sees the committed state only
    EXPECT_EQ(seen.get_future().get(), 1);
    db_->Commit();
    worker.join();
    EXPECT_EQ(db_->Query("select count(*) from parameters where parnumber > 9000", {})->AsInteger(0), 3);
}

} // namespace
} // namespace tl::db
