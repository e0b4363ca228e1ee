// The readers of import files: CSV records and quoting, the header, and the conversion of every
// column kind, with the place of each fault.
#include "tlexchange/csv.hpp"
#include "tlexchange/metering_import.hpp"

#include <gtest/gtest.h>

namespace tl::exchange {
namespace {

TEST(Csv, RecordsFieldsAndQuotes) {
    struct Case {
        const char* text;
        char separator;
        std::vector<std::vector<std::string>> records;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"a,b\r\n\r\nc,\"d,\"\"e\"\"\nf\"\n", ',', {{"a", "b"}, {"c", "d,\"e\"\nf"}}, {1, 3}},
        {"\xEF\xBB\xBFx;1,5;\n", ';', {{"x", "1,5", ""}}, {1}},
        {"only\n\n\nlast", ',', {{"only"}, {"last"}}, {1, 4}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DetectSeparator(c.text), c.separator) << c.text;
        const auto records = ReadCsv(c.text, c.separator);
        ASSERT_EQ(records.size(), c.records.size()) << c.text;
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].fields, c.records[i]) << c.text;
            EXPECT_EQ(records[i].line, c.lines[i]) << c.text;
        }
    }
    for (const char* bad : {"a,\"open\nstill open", "a,\"closed\"x\n"}) {
        EXPECT_THROW(ReadCsv(bad, ','), CsvError) << bad;
    }
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a \"b\", c"), "\"a \"\"b\"\", c\"");
}

// Every fault of a file is named with its line (or JSON index) and column; none is kept back.
TEST(RowFile, NamesEveryFaultAndKeepsNothingOfAFaultyFile) {
    struct Case {
        const char* text;
        FileFormat format;
        std::vector<std::string> faults;
    };
    const Case cases[] = {
        {"12,1,0,1,2025-01-01 00:30,0,1.5,0\n"
         "12,1,0,1,2025-02-30 00:30,0,1.5,0\n"
         "12,x,0,1,2025-01-01 01:00,,,0x4g\n"
         "12,1,0\n",
         FileFormat::kCsv,
         {"f:2: date: \"2025-02-30 00:30\" is not a date-time yyyy-mm-dd hh:nn[:ss[.zzz]]",
          "f:3: object: \"x\" is not a whole number", "f:3: value: a value is required",
          "f:3: status: \"0x4g\" is not a status word (decimal, or hexadecimal after 0x)",
          "f:4: 3 fields, expected 8 (parameter, object, type, item, date, season, value, status)"}},
        {"parameter,object,type,item,date,colour\n",
         FileFormat::kCsv,
         {"f:1: unknown column \"colour\"; the columns are parameter, object, type, item, date, season, "
          "value, "
          "status, value1",
          "f:1: the header has no column value"}},
        {"[{\"parameter\": 12, \"object\": 1, \"type\": 0, \"item\": 1, \"date\": \"2025-01-01 00:30\", "
         "\"value\": 1},"
         " {\"parameter\": 12, \"object\": 1, \"type\": 0, \"item\": 1, \"date\": 45000, \"value\": \"1\"}, "
         "7]",
         FileFormat::kJson,
         {"f[1]: date: expected a string", "f[1]: value: expected a number", "f[2]: expected an object"}},
        {"{\"parameter\": 12}", FileFormat::kJson, {"f: expected an array of metering row objects"}},
    };
    for (const Case& c : cases) {
        try {
            ReadRowFile(c.text, c.format, MeteringRowFormat(), "f");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const RowFileError& e) {
            EXPECT_EQ(e.Faults(), c.faults) << c.text;
        }
    }
}

TEST(RowFile, ReadsHeadersAliasesDecimalCommasAndDefaults) {
    const RowTable csv = ReadRowFile("VALUE0;Item;object;type;parnumber;date;status;value1\n"
                                     "-2,5;7;5;0;30012;2025-01-01 00:30:15.250;0x40000;\n",
                                     FileFormat::kCsv, MeteringRowFormat(), "f");
    ASSERT_EQ(csv.rows, 1u);
    const auto row = csv.Row(0);
    EXPECT_EQ(row[0].v.i32, 30012);
    EXPECT_EQ(row[1].v.i32, 5);
    EXPECT_EQ(row[3].v.i32, 7);
    EXPECT_EQ(row[5].v.i64, 0); // season: not in the file
    EXPECT_EQ(row[6].v.f64, -2.5);
    EXPECT_EQ(row[7].v.i64, 0x40000);
    EXPECT_EQ(row[8].kind, TL_VT_NULL); // value1 left empty

    const RowTable events =
        ReadRowFile("2,3001,12,97,1,2025-01-01 00:00,,,\n", FileFormat::kCsv, EventRowFormat(), "f");
    ASSERT_EQ(events.rows, 1u);
    EXPECT_EQ(events.Row(0)[6].kind, TL_VT_NULL); // evaltdt
    EXPECT_EQ(events.Row(0)[7].kind, TL_VT_NULL); // season
    EXPECT_EQ(events.Row(0)[8].v.i64, 0);         // evidprotect
}

} // namespace
} // namespace tl::exchange
