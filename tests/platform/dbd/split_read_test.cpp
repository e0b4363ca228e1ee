// A reader connection reads the driver's data requests in two date halves on two connections at
// once: the same rows in the same order as one connection, and a failure of the second connection
// is the query's failure.
#include "date_range_split.hpp"
#include "test_support.hpp"
#include "tlplatform/db_connection.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::db {
namespace {

using namespace test;

// The requests that SplitRead reads split are not repeated here.
TEST(DateRangeRequest, OnlyTheDriversDataRequestsAreSplit) {
    const std::string pn12 = "select * from data where parnumber = 12 and data_date between :sdt and :edt";
    const std::string not_split[] = {
        pn12 + " order by data_date desc",
        pn12 + " order by data_date limit 5",
        pn12 + " and season = 0",
        "select * from data where parnumber = 12 and data_date between 1.5 and :edt",
        "select * from eventlist where parnumber = 12 and data_date between :sdt and :edt",
        "select * from data where parnumber = 12x and data_date between :sdt and :edt",
    };
    for (const std::string& sql : not_split) {
        EXPECT_FALSE(FindDateRangeRequest(sql).has_value()) << sql;
    }
    // Two selects without the filter, so that each is one seek in the table's key.
    const auto request =
        FindDateRangeRequest(pn12 + " and ((object = 1 and objtype = 0 and item in (1))) order by data_date");
    ASSERT_TRUE(request.has_value());
    const std::string range = "parnumber = 12 and data_date between :sdt and :edt";
    EXPECT_EQ(request->range_sql, "select (select min(data_date) from data where " + range +
                                      "), (select max(data_date) from data where " + range + ")");
    EXPECT_EQ(request->begin_value, 0u);
    EXPECT_EQ(request->end_value, 1u);
}

class SplitRead : public ::testing::Test {
protected:
    // Parameters 12 and 18, ten stamps from 41944 every 0.25 day, objects 1..40 with items 1..3
    // (120 elements: a filter of a temporary table), a second season at one stamp.
    SplitRead() : path_(dir_.File("metering.db")) {
        auto db = Connection::Open(path_);
        InitSchema(*db);
        const std::string_view names[] = {"parnumber", "object", "objtype", "item",
                                          "data_date", "season", "value0"};
        db->Begin();
        for (int row = 0; row < 2 * 10 * 40 * 3; ++row) {
            const int parnumber = row < 1200 ? 12 : 18;
            const int stamp = row / 120 % 10;
            const int object = 1 + row / 3 % 40;
            const int item = 1 + row % 3;
            const TlVariant date = Date(41944.0 + stamp * 0.25);
            const TlVariant value = Double(parnumber * 1e6 + stamp * 1e4 + object * 10 + item);
            for (int season = 0; season <= (stamp == 4 ? 1 : 0); ++season) {
                const TlVariant values[] = {Int(parnumber), Int(object), Int(0), Int(item),
                                            date,           Int(season), value};
                db->InsertOrReplace("data", names, values);
            }
        }
        db->Commit();
    }

    TempDir dir_;
    std::string path_;
};

TEST_F(SplitRead, ReadsTheSameRowsInTheSameOrderAsOneConnection) {
    auto general = Connection::OpenExisting(path_);
    auto reader = Connection::OpenExisting(path_);
    reader->TakeRole(ConnectionRole::kReader);
    const std::string named = "select * from data where parnumber = :pn1 and data_date between :sdt and :edt";
    const std::string literal = "select * from data where parnumber = 18 and data_date between :sdt and :edt";
    struct Case {
        std::string sql;
        std::vector<TlVariant> values;
        size_t rows;
        bool split; // read on two connections
    };
    const Case cases[] = {
        {DataRequestSql(ElementFilterText(1, 40, 1, 0, "1, 3")),
         {Int(12), Date(41944.0), Date(41946.25)},
         10 * 80 + 80,
         true},
        {literal + " and " + ElementFilterText(1, 10, 1, 0, "1, 3"),
         {Date(41944.3), Date(41945.9)},
         6 * 20 + 20,
         true},
        {literal, {Date(41944.0), Date(2958465.0)}, 10 * 120 + 120, true}, // a window up to 9999
        {named, {Int(12), Date(41944.5), Date(41944.5)}, 120, false},      // one stamp
        {named, {Int(12), Date(41950.0), Date(41951.0)}, 0, false},        // no rows
        {named + " order by item", {Int(12), Date(41944.0), Date(41946.25)}, 10 * 120 + 120, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql.substr(0, 120));
        const Streamed split = Stream(*reader, c.sql, c.values);
        EXPECT_EQ(split.error, "(no error)");
        EXPECT_EQ(split.rows, Stream(*general, c.sql, c.values).rows);
        EXPECT_EQ(split.rows.size(), c.rows);
    }

    // The second connection is opened at the first split: with the file gone a split read fails,
    // one read whole does not.
    general.reset();
    reader.reset();
    std::filesystem::rename(path_, path_ + ".moved");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql.substr(0, 120));
        auto fresh_reader = Connection::OpenExisting(path_ + ".moved");
        fresh_reader->TakeRole(ConnectionRole::kReader);
        std::filesystem::rename(path_ + ".moved", path_ + ".gone");
        const std::string error = Stream(*fresh_reader, c.sql, c.values).error;
        std::filesystem::rename(path_ + ".gone", path_ + ".moved");
        EXPECT_EQ(error.find("does not exist") != std::string::npos, c.split) << error;
    }
}

} // namespace
} // namespace tl::db
