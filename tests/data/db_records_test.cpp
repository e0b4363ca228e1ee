#include "tldata/db_records.hpp"
#include "tldata/db_records_ex.hpp"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace tl {
namespace {

using Names = std::vector<std::string>;
using Values = std::vector<Variant>;

TEST(TDBRecordsTest, NamesAreCutTo255Characters) {
    std::string cyrillic;
    for (int i = 0; i < 300; ++i) {
        cyrillic += "Ж";
    }
    const std::pair<std::string, std::string> cases[] = {
        {std::string(255, 'a'), std::string(255, 'a')},
        {std::string(256, 'b'), std::string(255, 'b')},
        {cyrillic, cyrillic.substr(0, 255 * 2)}, // two bytes per character, never split
    };
    for (const auto& [name, expected] : cases) {
        TDBRecords records;
        ASSERT_TRUE(records.Add(Names{name}, Values{Variant::Int32(1)}));
        EXPECT_EQ(records.Get(0).Name(0), expected);
    }
}

// Values of every kind reach the host as stored: HostDatabaseTest.StoredRecordsPassToTheHostInWindows1251.
TEST(TDBRecordsTest, ARecordWhoseListsDifferInLengthIsRefused) {
    TDBRecords records;
    EXPECT_FALSE(records.Add(Names{"A", "B"}, Values{Variant::Int32(1)}));
    EXPECT_FALSE(records.Add(Names{"A"}, Values{Variant::Int32(1), Variant::Int32(2)}));
    EXPECT_EQ(records.Count(), 0);
}

TEST(TDBRecordsTest, RowsOfOneShapeShareOneNameSet) {
    TDBRecords records;
    const Names names = {"ParNumber", "Value0"};
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(records.Add(names, Values{Variant::Int32(30012), Variant::Double(i)}));
    }
    const auto interned = records.InternNames(names);
    records.Add(interned, Values{Variant::Int32(30018), Variant::Double(-1)});
    ASSERT_TRUE(records.Add(Names{"parnumber", "Value0"}, Values{Variant::Int32(1), Variant::Double(0)}));

    EXPECT_EQ(records.Count(), 1002);
    // Plain lists keep names as given: another spelling is another shape.
    EXPECT_EQ(records.NameSetCount(), 2);
    EXPECT_EQ(records.NameSetOf(1000), records.NameSetOf(0));
    EXPECT_EQ(records.Get(1000).Value(0), Variant::Int32(30018));
    EXPECT_EQ(records.Get(1001).Name(0), "parnumber");
    EXPECT_THROW(records.Add(interned, Values{Variant::Int32(1)}), std::invalid_argument);
    EXPECT_EQ(records.Count(), 1002);
}

TEST(TDBRecordsExTest, NameSetsAreSharedOnlyByTheSameNamesInTheSameOrderWithoutRegardToCase) {
    struct Case {
        const char* label;
        Names first, second;
        bool shared;
    } const cases[] = {
        {"same names", {"ParNumber", "Data_Date"}, {"ParNumber", "Data_Date"}, true},
        {"other letter case", {"ParNumber", "Data_Date"}, {"PARNUMBER", "data_date"}, true},
        {"Cyrillic in other case", {"Имя", "Ёмкость"}, {"ИМЯ", "ёмкость"}, true},
        {"fewer names", {"ParNumber", "Data_Date"}, {"ParNumber"}, false},
        {"other name", {"ParNumber", "Data_Date"}, {"ParNumber", "Data_Time"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TDBRecordsEx records;
        EXPECT_EQ(records.AddRecord(c.first, Values{Variant::Int32(1), Variant::Int32(2)}), 0);
        EXPECT_EQ(records.AddRecord(c.second, Values{Variant::Int32(3), Variant::Int32(4)}), 1);
        EXPECT_EQ(records.NameSetOf(0) == records.NameSetOf(1), c.shared);
        EXPECT_EQ(records.NameSetCount(), c.shared ? 1 : 2);
        Names names;
        Values values;
        records.GetRecord(1, names, values);
        // A shared set keeps the spelling of its first record.
        EXPECT_EQ(names, c.shared ? c.first : c.second);
        EXPECT_EQ(values, (Values{Variant::Int32(3), Variant::Int32(4)}));
    }
}

TEST(TDBRecordsExTest, GetRecordCutsNamesAndCopiesEveryValue) {
    TDBRecordsEx records;
    records.AddRecord(Names{std::string(300, 'n')}, Values{Variant::Double(1), Variant::String("extra")});
    Names names;
    Values values;
    records.GetRecord(0, names, values);
    EXPECT_EQ(names, Names{std::string(255, 'n')});
    EXPECT_EQ(values, (Values{Variant::Double(1), Variant::String("extra")}));
    // The host sees only the fields that have both a name and a value.
    EXPECT_EQ(records.FieldCount(0), 1);
}

} // namespace
} // namespace tl
