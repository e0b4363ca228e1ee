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
class TestRecords : public TlRecords {
public:
    TestRecords() { vtbl = &kVtbl; }

    void Add(std::vector<std::string> names, std::vector<TlVariant> values) {
        rows_.push_back({std::move(names), std::move(values)});
    }

private:
    struct Row {
        std::vector<std::string> names;
        std::vector<TlVariant> values;
    };
    static const TestRecords* Self(const TlRecords* r) { return static_cast<const TestRecords*>(r); }
    static int32_t Count(const TlRecords* r) { return static_cast<int32_t>(Self(r)->rows_.size()); }
    static int32_t FieldCount(const TlRecords* r, int32_t i) {
        return static_cast<int32_t>(Self(r)->rows_[static_cast<size_t>(i)].names.size());
    }
    static const char* FieldName(const TlRecords* r, int32_t i, int32_t f) {
        return Self(r)->rows_[static_cast<size_t>(i)].names[static_cast<size_t>(f)].c_str();
    }
    static TlVariant Value(const TlRecords* r, int32_t i, int32_t f) {
        return Self(r)->rows_[static_cast<size_t>(i)].values[static_cast<size_t>(f)];
    }
    static void Release(TlRecords*) {}

    static constexpr TlRecordsVtbl kVtbl = {Count, FieldCount, FieldName, Value, Release};
    std::vector<Row> rows_;
};

// A result row of the driver: nine fields, the status word carried in a double.
std::vector<TlVariant> ResultRow(int item, double date, double value0, int64_t status) {
    return {Int(30012),
            Date(date),
            Int(5),
            Int(item),
            Int(99),
            Double(value0),
            Double(value0 * 2),
            Double(std::bit_cast<double>(status)),
            Date(41945.0)};
}
const std::vector<std::string> kResultNames = {"ParNumber", "Data_Date", "Object",    "Item",    "ObjType",
                                               "Value0",    "Value1",    "TvkStatus", "RCVStamp"};

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
    EXPECT_NE(std::string(DBLastError()).find("does not exist"), std::string::npos) << DBLastError();
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
    EXPECT_NE(std::string(DBLastError()).find("no database is open"), std::string::npos);
    TestRecords records;
    records.Add({"parnumber"}, {Int(1)});
    EXPECT_EQ(DBAddRecords("parameters", &records, nullptr), -1);
    EXPECT_NE(std::string(DBLastError()).find("no database is open"), std::string::npos);
    EXPECT_EQ(DBGetFieldText(nullptr, 0), nullptr);
}

TEST_F(DbdCApi, ExecSqlRunsStatementsAndQueriesAndFreesSets) {
    const TlVariant params[] = {Int(7), Str("Подстанция 7")};
    ASSERT_EQ(DBExecSQL(nullptr, "insert into Devices (Code, Name) values (:code, :name)", params, 2, 0), 0)
        << DBLastError();
    EXPECT_STREQ(DBLastError(), "");

    const TlVariant code[] = {Int(7)};
    TlResultSet* set = nullptr;
    ASSERT_EQ(DBExecSQL(&set, "select Code, Name from Devices where Code = :c", code, 1, 1), 0)
        << DBLastError();
    ASSERT_NE(set, nullptr);
    EXPECT_FALSE(set->vtbl->IsEmpty(set));
    EXPECT_EQ(set->vtbl->AsInteger(set, set->vtbl->FieldIndex(set, "CODE")), 7);
    EXPECT_STREQ(DBGetFieldText(set, set->vtbl->FieldIndex(set, "name")), "Подстанция 7");
    EXPECT_STREQ(DBGetFieldText(set, 0), "7");
    DBFreeDataSet(&set);
    EXPECT_EQ(set, nullptr);
    DBFreeDataSet(&set); // a second release of the cleared variable is harmless
    DBFreeDataSet(nullptr);

    EXPECT_EQ(DBExecSQL(&set, "select * from nosuch", nullptr, 0, 1), -1);
    EXPECT_NE(std::string(DBLastError()).find("no such table"), std::string::npos);
    EXPECT_EQ(DBExecSQL(&set, "select :a", nullptr, 1, 1), -1);
    EXPECT_EQ(DBExecSQL(nullptr, "select 1", nullptr, 0, 1), -1);
}

TEST_F(DbdCApi, ElementCatalogueQueriesOfTheSettingsDialogRun) {
    ASSERT_EQ(DBExecSQL(nullptr,
                        "insert into Devices (id, Code, Name) values (1, 4660, 'Счётчик');"
                        "insert into Sensors (StationId, Code, Typ, Name) values (1, 1, 0, 'Ввод'), (1, 2, "
                        "null, 'Резерв');"
                        "insert into Clients (Code, Typ, Name) values (3, 2, 'Абонент')",
                        nullptr, 0, 0),
              0)
        << DBLastError();
    const char* channels =
        "SELECT Sensors.Id, Devices.Code AS ObjCode, Sensors.Code as Item, Sensors.Typ as Typ, "
        "Sensors.Name, Devices.Name AS ObjName FROM Devices INNER JOIN Sensors ON "
        "Sensors.StationId = Devices.id  ";
    const char* clients = "SELECT id, 0 AS ObjCode, Code as Item, Typ, Name, '' as ObjName FROM Clients";
    const TlVariant zero[] = {Int(0)};
    TlResultSet* set = nullptr;
    ASSERT_EQ(DBExecSQL(&set, channels, zero, 1, 1), 0) << DBLastError();
    EXPECT_EQ(static_cast<ResultSet*>(set)->RowCount(), 2);
    EXPECT_STREQ(DBGetFieldText(set, set->vtbl->FieldIndex(set, "ObjName")), "Счётчик");
    EXPECT_EQ(set->vtbl->AsInteger(set, set->vtbl->FieldIndex(set, "ObjCode")), 4660);
    DBFreeDataSet(&set);
    ASSERT_EQ(DBExecSQL(&set, clients, zero, 1, 1), 0) << DBLastError();
    EXPECT_STREQ(DBGetFieldText(set, set->vtbl->FieldIndex(set, "Name")), "Абонент");
    EXPECT_STREQ(DBGetFieldText(set, set->vtbl->FieldIndex(set, "ObjName")), "");
    DBFreeDataSet(&set);
}

TEST_F(DbdCApi, AddRecordsInsertsOrReplacesResultRows) {
    TestRecords first;
    for (int item = 1; item <= 3; ++item) {
        first.Add(kResultNames, ResultRow(item, 41944.5, item * 1.0, item == 2 ? 0x40000 : 0));
    }
    EXPECT_EQ(DBAddRecords("Data", &first, nullptr), 3) << DBLastError();

    TestRecords second; // item 2 again, with other values, and a new item
    second.Add(kResultNames, ResultRow(2, 41944.5, 20.0, 0));
    second.Add(kResultNames, ResultRow(4, 41944.5, 4.0, 0x40000));
    EXPECT_EQ(DBAddRecords("Data", &second, nullptr), 2) << DBLastError();
    // value0/value1/status word/season/rcvstamp by item; the status word stored as the integer it carries
    EXPECT_EQ(
        Text("select group_concat(value0 || '/' || value1 || '/' || tvkstatus || '/' || season || '/' || "
             "rcvstamp, ' ') from (select * from data where parnumber = 30012 order by item)"),
        "1.0/2.0/0/0/41945.0 20.0/40.0/0/0/41945.0 3.0/6.0/0/0/41945.0 4.0/8.0/262144/0/41945.0");

    TlResultSet* set = nullptr;
    ASSERT_EQ(DBExecSQL(&set, "select * from data where item = 4", nullptr, 0, 1), 0) << DBLastError();
    EXPECT_EQ(DBGetStatusInt(set), 0x40000);
    DBFreeDataSet(&set);
    EXPECT_EQ(DBGetStatusInt(nullptr), 0);
}

TEST_F(DbdCApi, AFailingRecordWritesNothing) {
    TestRecords records;
    records.Add(kResultNames, ResultRow(1, 41944.5, 1.0, 0));
    records.Add({"ParNumber", "NoSuchColumn"}, {Int(1), Int(2)});
    EXPECT_EQ(DBAddRecords("Data", &records, nullptr), -1);
    EXPECT_NE(std::string(DBLastError()).find("NoSuchColumn"), std::string::npos) << DBLastError();
    EXPECT_EQ(Text("select count(*) from data"), "0");
    EXPECT_EQ(DBAddRecords("Data", nullptr, nullptr), -1);
    EXPECT_EQ(DBAddRecords(nullptr, &records, nullptr), -1);
}

TEST_F(DbdCApi, AddRecordWritesOneRow) {
    const char* names[] = {"parnumber", "name", "discrettype", "discretvalue"};
    const TlVariant values[] = {Int(1100), Str("Мгновенные"), Int(6), Int(10)};
    EXPECT_EQ(DBAddRecord("parameters", names, values, 4), 1) << DBLastError();
    EXPECT_EQ(Text("select name || ' ' || discrettype || ' ' || discretvalue from parameters where parnumber "
                   "= 1100"),
              "Мгновенные 6 10");
    EXPECT_EQ(DBAddRecord("parameters", nullptr, values, 4), -1);
    EXPECT_EQ(DBAddRecord("parameters", names, values, 0), -1);
}

} // namespace
} // namespace tl::db
