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

    int32_t Count(const char* sql) {
        TlResultSet* set = nullptr;
        const TlVariant zero[] = {Int(0)};
        EXPECT_EQ(DBExecSQL(&set, sql, zero, 1, 1), 0) << DBLastError();
        const int32_t n = set != nullptr ? set->vtbl->AsInteger(set, 0) : -1;
        DBFreeDataSet(&set);
        return n;
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
    EXPECT_EQ(Count("select count(*) from parameters where parnumber = 1100"), 1);
    EXPECT_EQ(DBOpenDatabase(nullptr), -1);

    DBCloseDatabase();
    EXPECT_FALSE(DBIsDatabaseOpen());
    TlResultSet* set = nullptr;
    EXPECT_EQ(DBExecSQL(&set, "select 1", nullptr, 0, 1), -1);
    EXPECT_EQ(set, nullptr);
    EXPECT_NE(std::string(DBLastError()).find("no database is open"), std::string::npos);
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

TEST_F(DbdCApi, StatesOfAMeasurementObjectAsTheParametersDialogAsks) {
    ASSERT_EQ(
        DBExecSQL(
            nullptr,
            "insert into MObjects (Id, Code, Name) values (1, 500, 'ПС Северная'), (2, 501, 'ПС Южная');"
            "insert into MObjStates (ObjectID, Code, Name) values (1, 2, 'Ремонт'), (1, 1, 'Работа'), "
            "(2, 1, 'Работа')",
            nullptr, 0, 0),
        0)
        << DBLastError();
    const TlVariant c[] = {Int(500)};
    TlResultSet* set = nullptr;
    ASSERT_EQ(
        DBExecSQL(&set,
                  "Select MOS.Name as MOSName, MOS.Code as MOSCode From MObjects M Inner Join MObjStates MOS "
                  "On MOS.ObjectID = M.Id Where M.Code = :c Order By MOS.Code",
                  c, 1, 1),
        0)
        << DBLastError();
    std::vector<std::string> entries;
    const int32_t name = set->vtbl->FieldIndex(set, "MOSName");
    const int32_t code = set->vtbl->FieldIndex(set, "MOSCode");
    for (set->vtbl->First(set); !set->vtbl->Eof(set); set->vtbl->Next(set)) {
        entries.push_back(std::to_string(set->vtbl->AsInteger(set, code)) + " " + DBGetFieldText(set, name));
    }
    DBFreeDataSet(&set);
    EXPECT_EQ(entries, (std::vector<std::string>{"1 Работа", "2 Ремонт"}));
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
    EXPECT_EQ(Count("select count(*) from data where parnumber = 30012"), 4);

    TlResultSet* set = nullptr;
    ASSERT_EQ(DBExecSQL(&set, "select * from data order by item", nullptr, 0, 1), 0) << DBLastError();
    const int64_t statuses[] = {0, 0, 0, 0x40000};
    const double values[] = {1.0, 20.0, 3.0, 4.0};
    int row = 0;
    for (set->vtbl->First(set); !set->vtbl->Eof(set); set->vtbl->Next(set), ++row) {
        EXPECT_EQ(DBGetStatusInt(set), statuses[row]) << row;
        EXPECT_EQ(set->vtbl->AsDouble(set, set->vtbl->FieldIndex(set, "Value0")), values[row]) << row;
        EXPECT_EQ(set->vtbl->AsDouble(set, set->vtbl->FieldIndex(set, "Value1")), values[row] * 2) << row;
        EXPECT_EQ(set->vtbl->AsInteger(set, set->vtbl->FieldIndex(set, "Season")), 0) << row;
        EXPECT_EQ(set->vtbl->AsDateTime(set, set->vtbl->FieldIndex(set, "RCVStamp")), 41945.0) << row;
    }
    EXPECT_EQ(row, 4);
    DBFreeDataSet(&set);
    EXPECT_EQ(DBGetStatusInt(nullptr), 0);
}

TEST_F(DbdCApi, AFailingRecordWritesNothing) {
    TestRecords records;
    records.Add(kResultNames, ResultRow(1, 41944.5, 1.0, 0));
    records.Add({"ParNumber", "NoSuchColumn"}, {Int(1), Int(2)});
    EXPECT_EQ(DBAddRecords("Data", &records, nullptr), -1);
    EXPECT_NE(std::string(DBLastError()).find("NoSuchColumn"), std::string::npos) << DBLastError();
    EXPECT_EQ(Count("select count(*) from data"), 0);
    EXPECT_EQ(DBAddRecords("Data", nullptr, nullptr), -1);
    EXPECT_EQ(DBAddRecords(nullptr, &records, nullptr), -1);
}

TEST_F(DbdCApi, AddRecordWritesOneRow) {
    const char* names[] = {"parnumber", "name", "discrettype", "discretvalue"};
    const TlVariant values[] = {Int(1100), Str("Мгновенные"), Int(6), Int(10)};
    EXPECT_EQ(DBAddRecord("parameters", names, values, 4), 1) << DBLastError();
    TlResultSet* set = nullptr;
    const TlVariant zero[] = {Int(0)};
    ASSERT_EQ(DBExecSQL(&set, "select * from parameters where parnumber = 1100", zero, 1, 1), 0);
    EXPECT_EQ(set->vtbl->AsInteger(set, set->vtbl->FieldIndex(set, "discrettype")), 6);
    EXPECT_EQ(set->vtbl->AsInteger(set, set->vtbl->FieldIndex(set, "discretvalue")), 10);
    DBFreeDataSet(&set);
    EXPECT_EQ(DBAddRecord("parameters", nullptr, values, 4), -1);
    EXPECT_EQ(DBAddRecord("parameters", names, values, 0), -1);
}

TEST(DbdCApiWithoutDatabase, EverythingFailsCleanly) {
    DBCloseDatabase();
    EXPECT_FALSE(DBIsDatabaseOpen());
    TestRecords records;
    records.Add({"parnumber"}, {Int(1)});
    EXPECT_EQ(DBAddRecords("parameters", &records, nullptr), -1);
    EXPECT_NE(std::string(DBLastError()).find("no database is open"), std::string::npos);
    EXPECT_EQ(DBExecSQL(nullptr, "select 1", nullptr, 0, 0), -1);
    EXPECT_EQ(DBGetFieldText(nullptr, 0), nullptr);
}

} // namespace
} // namespace tl::db
