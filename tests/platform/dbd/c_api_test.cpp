// The C functions: result codes and DBLastError instead of exceptions, sets handed over and freed,
// rows written in one transaction. What the rows become in the tables is the connections' tests'.
#include "test_support.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlplatform/dbd.h"

#include <bit>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::db {
namespace {

using namespace test;

// Records as the driver builds them: a list of rows of named variants.
struct TestRecords : TlRecords {
    using Row = std::vector<std::pair<std::string, TlVariant>>;
    std::vector<Row> rows;

    TestRecords() { vtbl = &kVtbl; }
    void Add(const std::vector<std::string>& names, const std::vector<TlVariant>& values) {
        Row& row = rows.emplace_back();
        for (size_t f = 0; f < names.size(); ++f) {
            row.emplace_back(names[f], values[f]);
        }
    }
    static const Row& At(const TlRecords* r, int32_t i) {
        return static_cast<const TestRecords*>(r)->rows[static_cast<size_t>(i)];
    }
    static constexpr TlRecordsVtbl kVtbl = {
        [](const TlRecords* r) {
            return static_cast<int32_t>(static_cast<const TestRecords*>(r)->rows.size());
        },
        [](const TlRecords* r, int32_t i) { return static_cast<int32_t>(At(r, i).size()); },
        [](const TlRecords* r, int32_t i, int32_t f) {
            return At(r, i)[static_cast<size_t>(f)].first.c_str();
        },
        [](const TlRecords* r, int32_t i, int32_t f) { return At(r, i)[static_cast<size_t>(f)].second; },
        [](TlRecords*) {}};
};

// A result row of the driver, the status word carried in a double.
const std::vector<std::string> kResultNames = {"ParNumber", "Data_Date", "Object",   "Item",
                                               "ObjType",   "Value0",    "TvkStatus"};
std::vector<TlVariant> ResultRow(int item, double value0, int64_t status) {
    return {Int(30012),
            Date(41944.5),
            Int(5),
            Int(item),
            Int(99),
            Double(value0),
            Double(std::bit_cast<double>(status))};
}

std::string LastError() {
    return DBLastError();
}

class DbdCApi : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.File("metering.db");
        InitSchema(*Connection::Open(path_));
        ASSERT_EQ(DBOpenDatabase(path_.c_str()), 0) << DBLastError();
    }
    void TearDown() override { DBCloseDatabase(); }

    // The first field of the first row as text.
    std::string Text(const char* sql) {
        TlResultSet* set = nullptr;
        const TlVariant zero[] = {Int(0)};
        EXPECT_EQ(DBExecSQL(&set, sql, zero, 1, 1), 0) << DBLastError();
        const std::string text = set != nullptr ? DBGetFieldText(set, 0) : "failed";
        DBFreeDataSet(&set);
        return text;
    }

    TempDir dir_;
    std::string path_;
};

TEST_F(DbdCApi, OpenRefusesAMissingDatabaseAndKeepsTheOpenOne) {
    const std::string missing = dir_.File("missing.db");
    EXPECT_EQ(DBOpenDatabase(missing.c_str()), -1);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(DBIsDatabaseOpen());
    // a new database knows the momentary parameter and its discreteness in minutes
    EXPECT_EQ(Text("select count(*) from parameters where parnumber = 1100 and discrettype = 5 and "
                   "discretvalue between 1 and 30"),
              "1");
    EXPECT_EQ(DBOpenDatabase(nullptr), -1);

    DBCloseDatabase();
    EXPECT_FALSE(DBIsDatabaseOpen());
    TlResultSet* set = nullptr;
    EXPECT_EQ(DBExecSQL(&set, "select 1", nullptr, 0, 1), -1);
    EXPECT_EQ(set, nullptr);
    EXPECT_EQ(LastError(), "no database is open");
    EXPECT_EQ(DBGetFieldText(nullptr, 0), nullptr);
}

TEST_F(DbdCApi, ExecSqlRunsStatementsAndQueriesAndFreesSets) {
    const TlVariant params[] = {Int(7), Str("Подстанция 7")};
    ASSERT_EQ(DBExecSQL(nullptr, "insert into Devices (Code, Name) values (:code, :name)", params, 2, 0), 0)
        << DBLastError();
    EXPECT_EQ(DBExecSQL(nullptr, "select * from nosuch", nullptr, 0, 0), -1);
    TlResultSet* set = nullptr;
    ASSERT_EQ(DBExecSQL(&set, "select Code, Name from Devices where Code = :c", params, 1, 1), 0);
    EXPECT_EQ(LastError(), "") << "a success clears the last error";
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->vtbl->AsInteger(set, 0), 7);
    EXPECT_STREQ(DBGetFieldText(set, 1), "Подстанция 7");
    DBFreeDataSet(&set);
    EXPECT_EQ(set, nullptr);
    DBFreeDataSet(&set); // a second release of the cleared variable is harmless
    DBFreeDataSet(nullptr);

    EXPECT_EQ(DBExecSQL(&set, "select :a", nullptr, 1, 1), -1);
    EXPECT_EQ(LastError(), "invalid parameter list");
    EXPECT_EQ(DBExecSQL(nullptr, "select 1", nullptr, 0, 1), -1);
    EXPECT_EQ(LastError(), "no result-set variable given");
}

TEST_F(DbdCApi, AddRecordsWritesEveryRecordOrNone) {
    TestRecords records; // item 2 twice: the later one wins
    for (const auto& [item, value0, status] :
         {std::tuple{1, 1.0, 0}, {2, 2.0, 0x40000}, {2, 20.0, 0x40000}}) {
        records.Add(kResultNames, ResultRow(item, value0, status));
    }
    EXPECT_EQ(DBAddRecords("Data", &records, nullptr), 3) << DBLastError();
    EXPECT_EQ(Text("select group_concat(item || '/' || value0, ' ') from data"), "1/1.0 2/20.0");
    TlResultSet* set = nullptr;
    ASSERT_EQ(DBExecSQL(&set, "select * from data where item = 2", nullptr, 0, 1), 0) << DBLastError();
    EXPECT_EQ(DBGetStatusInt(set), 0x40000);
    DBFreeDataSet(&set);
    EXPECT_EQ(DBGetStatusInt(nullptr), 0);

    TestRecords failing; // a good row and a bad one: neither is written
    failing.Add(kResultNames, ResultRow(3, 3.0, 0));
    failing.Add({"ParNumber", "NoSuchColumn"}, {Int(1), Int(2)});
    EXPECT_EQ(DBAddRecords("Data", &failing, nullptr), -1);
    EXPECT_NE(LastError().find("NoSuchColumn"), std::string::npos) << LastError();
    EXPECT_EQ(Text("select count(*) from data"), "2");
    EXPECT_EQ(DBAddRecords("Data", nullptr, nullptr), -1);
    EXPECT_EQ(LastError(), "no records given");
    EXPECT_EQ(DBAddRecords(nullptr, &records, nullptr), -1);
    EXPECT_EQ(LastError(), "no table given");

    const char* names[] = {"parnumber", "name"};
    const TlVariant values[] = {Int(1100), Str("Мгновенные")};
    EXPECT_EQ(DBAddRecord("parameters", names, values, 2), 1) << DBLastError();
    EXPECT_EQ(Text("select name from parameters where parnumber = 1100"), "Мгновенные");
    EXPECT_EQ(DBAddRecord("parameters", nullptr, values, 2), -1);
    EXPECT_EQ(LastError(), "invalid record");
}

} // namespace
} // namespace tl::db
