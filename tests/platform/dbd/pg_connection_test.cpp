// What only the PostgreSQL backend does: the server's types read back, values its columns cannot
// take, lost connections, failed transactions, streamed reads and the plan of the data request. Skipped
// unless the tests run beside a server (scripts/with-postgres.sh).
#include "database_fixture.hpp"
#include "tlplatform/db_connection.hpp"

#include <fmt/format.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace tl::db {
namespace {

using namespace test;

class PgConnectionTest : public OnTestDatabase {
protected:
    void SetUp() override {
        if (!OnPostgres()) {
            GTEST_SKIP() << "no PostgreSQL server: run under scripts/with-postgres.sh";
        }
    }

    int64_t ServerProcess() { return db_->Query("select pg_backend_pid()", {})->AsInt64(0); }
    // Ends a server process from another connection, as a server restart would.
    void Kill(int64_t pid) {
        Connection::Open(database_.Uri())->Execute(fmt::format("select pg_terminate_backend({})", pid));
    }
};

TEST_F(PgConnectionTest, ReadsTheServersTypes) {
    // A null takes the type its place asks for.
    const TlVariant null[] = {Null()};
    EXPECT_EQ(db_->Query("select :v::int4 is null", null)->AsInteger(0), 1);

    struct Read {
        const char* expression;
        const char* text;
    };
    const Read reads[] = {
        {"12::int2", "12"},
        {"-5::int4", "-5"},
        {"4000000000::int8", "4000000000"},
        {"42::oid", "42"},
        {"1.5::float4", "1.5"},
        {"true", "1"},
        {"'кВ'::varchar(5)", "кВ"},
        {"12.500::numeric", "12.5"},
        {"-0.0012::numeric", "-0.0012"},
        {"123456789012345678::numeric", "123456789012345678"},
        {"1e20::numeric", "1e+20"},
        {"'NaN'::numeric", "NaN"},
        {"date '2014-11-01'", "2014-11-01"},
        {"timestamp '1999-12-31 23:59:58.25'", "1999-12-31 23:59:58.250"},
    };
    for (const auto& r : reads) {
        auto set = db_->Query(fmt::format("select {}", r.expression), {});
        EXPECT_EQ(set->AsText(0), r.text) << r.expression;
    }
    EXPECT_DOUBLE_EQ(db_->Query("select timestamp '2014-11-01 18:00'", {})->AsDateTime(0), 41944.75);
    const std::string refused = ErrorOf([&] { db_->Query("select array[1, 2] as pair", {}); });
    EXPECT_NE(refused.find("\"pair\" has a type"), std::string::npos) << refused;
}

TEST_F(PgConnectionTest, ValuesAreConvertedForTheirColumnsOrRefused) {
    db_->Execute(
        "create table kinds (k integer primary key, small int2, whole int4, real4 float4, flag boolean, "
        "note varchar(10), amount numeric)");
    const std::string_view names[] = {"k", "small", "whole", "real4", "flag", "note", "amount"};
    const TlVariant converted[] = {Int(1),      Str("12"), Double(2.6), Str("1,5"),
                                   Str("TRUE"), Int(42),   Double(0.25)};
    db_->InsertOrReplace("kinds", names, converted);
    auto set = db_->Query("select small, whole, real4, flag, note, amount from kinds", {});
    EXPECT_EQ(fmt::format("{} {} {} {} {} {}", set->AsText(0), set->AsText(1), set->AsText(2), set->AsText(3),
                          set->AsText(4), set->AsText(5)),
              "12 3 1.5 1 42 0.25");

    struct Refused {
        const char* column;
        TlVariant value;
        const char* part;
    };
    const Refused refused[] = {
        {"whole", Int64(int64_t{5} << 31), "out of the 32-bit range for the column whole"},
        {"small", Int(40000), "out of the 16-bit range"},
        {"whole", Str("x"), "'x' is not a whole number"},
        {"real4", Str("abc"), "'abc' is not a number"},
        {"flag", Str("maybe"), "is not a truth value"},
        {"note", Str("longer than ten"), "too long"},
        {"amount", Str("lots"), "invalid input syntax for type numeric"},
    };
    for (const auto& r : refused) {
        const std::string_view one[] = {"k", r.column};
        const TlVariant values[] = {Int(2), r.value};
        const std::string error = ErrorOf([&] { db_->InsertOrReplace("kinds", one, values); });
        EXPECT_NE(error.find(r.part), std::string::npos) << r.column << ": " << error;
    }
    EXPECT_EQ(Count("kinds"), 1);
}

TEST_F(PgConnectionTest, ALostConnectionFailsWithItsTextAndTheNextStatementReconnects) {
    Kill(ServerProcess());
    const std::string error = ErrorOf([&] { db_->Query("select 1", {}); });
    EXPECT_NE(error.find("terminat"), std::string::npos) << error;
    EXPECT_EQ(db_->Query("select 2", {})->AsInteger(0), 2);

    // A store the loss interrupts writes nothing, and the next one writes (its temporary table made anew).
    const std::string_view names[] = {"parnumber", "object", "objtype", "item", "data_date"};
    const auto store = [&](int items, bool kill) {
        const int64_t pid = ServerProcess();
        db_->Begin();
        for (int i = 0; i < items; ++i) {
            const TlVariant values[] = {Int(30012), Int(1), Int(0), Int(i), Date(41944)};
            db_->InsertOrReplace("data", names, values);
        }
        if (kill) {
            Kill(pid);
        }
        db_->Commit();
    };
    store(10, false);
    const std::string lost = ErrorOf([&] { store(1000, true); });
    EXPECT_NE(lost.find("cannot write into data"), std::string::npos) << lost;
    EXPECT_THROW(db_->Query("select 1", {}), Error) << "the transaction is to be rolled back first";
    db_->Rollback();
    EXPECT_EQ(Count("data"), 10);
    store(20, false);
    EXPECT_EQ(Count("data"), 20);
}

TEST_F(PgConnectionTest, StreamedRowsAreTheWholeSetsRows) {
    // Several cursor batches of nulls, numbers and texts up to a few hundred kilobytes.
    const std::string sql =
        "select n, case when n % 3 = 0 then null else n * 0.5::float8 end as half, "
        "case when n % 5 = 0 then null when n % 4999 = 0 then repeat('кВт', 100000 + n) else 'r' || n end "
        "as note from generate_series(1, 25000) n order by n";
    const std::vector<std::string> whole = RowsAsText(*db_->Query(sql, {}));
    ASSERT_EQ(whole.size(), 25'000u);
    const Streamed streamed = Stream(*db_, sql);
    EXPECT_EQ(streamed.error, "(no error)");
    EXPECT_TRUE(streamed.rows == whole); // not printed: the texts are long
    // Statements a cursor cannot run, and empty sets, are handed over too.
    EXPECT_EQ(Stream(*db_, "show server_encoding").rows, std::vector<std::string>{"UTF8"});
    EXPECT_TRUE(Stream(*db_, "select 1 where false").rows.empty());
}

TEST_F(PgConnectionTest, AConnectionLostWhileAQueryStreamsIsAFailure) {
    const int64_t pid = ServerProcess();
    const Streamed streamed =
        Stream(*db_, "select n from generate_series(1, 1000000) n", {}, [&] { Kill(pid); });
    EXPECT_NE(streamed.error.find("terminat"), std::string::npos) << streamed.error;
    EXPECT_EQ(streamed.failure, streamed.error) << "the reader is told before the set ends";
    EXPECT_GT(streamed.rows.size(), 0u) << "the reader had the first rows";
    EXPECT_LT(streamed.rows.size(), 1'000'000u);
    EXPECT_EQ(db_->Query("select 2", {})->AsInteger(0), 2);
}

TEST_F(PgConnectionTest, ACommitAfterAFailedStatementFailsAndWritesNothing) {
    db_->Begin();
    db_->Execute("insert into parameters (parnumber) values (9001)");
    EXPECT_THROW(db_->Execute("insert into nosuch values (1)"), Error);
    const std::string error = ErrorOf([&] { db_->Commit(); });
    EXPECT_NE(error.find("rolled it back"), std::string::npos) << error;
    db_->Rollback();
    EXPECT_EQ(db_->Query("select count(*) from parameters where parnumber = 9001", {})->AsInteger(0), 0);
    EXPECT_THROW(db_->Commit(), Error); // none is open
}

TEST_F(PgConnectionTest, DataRequestIsAnOrderedRangeOfTheKeyWithoutASort) {
    // Three days of half-hours of 300 channels, of which the request asks for one day of half of them.
    const std::string_view names[] = {"parnumber", "object", "objtype", "item", "data_date", "value0"};
    db_->Begin();
    for (int row = 0; row < 144 * 300; ++row) {
        const int channel = row % 300;
        const TlVariant date = Date(41944 + row / 300 / 48.0);
        const TlVariant values[] = {Int(12), Int(channel / 2), Int(0), Int(channel % 2),
                                    date,    Double(channel)};
        db_->InsertOrReplace("data", names, values);
    }
    db_->Commit();
    db_->Execute("analyze data");
    const std::string request = DataRequestSql(ElementFilterText(0, 75, 2, 0, "0, 1"));
    const TlVariant params[] = {Int(12), Date(41945), Date(41946)};
    const std::string lines =
        fmt::format("{}", fmt::join(RowsAsText(*db_->Query("explain " + request, params)), "\n"));
    EXPECT_NE(lines.find("Index Scan using data_pkey"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("Sort"), std::string::npos) << lines;
    EXPECT_EQ(db_->Query(request, params)->RowCount(), 49 * 150);
}

} // namespace
} // namespace tl::db
