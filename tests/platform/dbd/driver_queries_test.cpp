// The SQL texts that the calculation driver sends, word for word, on a small metering database.
#include "test_support.hpp"
#include "tlcommon/date_time.hpp"
#include "tlplatform/db_connection.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::db {
namespace {

using namespace test;

// "%N:d" and "%N:s" replaced by args[N], "%s" and "%d" by the next argument, as the driver formats.
std::string FormatSql(std::string_view pattern, const std::vector<std::string>& args) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 >= pattern.size()) {
            out += pattern[i];
            continue;
        }
        if (pattern[i + 1] == 's' || pattern[i + 1] == 'd') {
            out += args.at(next++);
            ++i;
        } else {
            const size_t colon = pattern.find(':', i);
            out += args.at(std::stoul(std::string(pattern.substr(i + 1, colon - i - 1))));
            i = colon + 1;
        }
    }
    return out;
}

std::string JoinLines(const std::vector<const char*>& lines) {
    std::string out;
    for (const char* line : lines) {
        if (!out.empty()) {
            out += "\r\n";
        }
        out += line;
    }
    return out;
}

const std::string kTextA = JoinLines({
    "select el.evtype as evtype, el.evcode as evcode, el.objcode,",
    "el.objtype, el.objitem, el.evgenesisdt, el.season, el.evidprotect",
    "from eventlist el",
    "where evcode in (%0:d, %1:d) and objtype in (%2:d) and",
    "objcode in (%3:s) and objitem in (%4:s) and evtype in (%5:d) and ",
    "evgenesisdt =",
    "(",
    "select max(evgenesisdt) from eventlist",
    "where evcode in (%0:d, %1:d) and objtype = el.objtype and",
    "objcode = el.objcode and objitem = el.objitem and evtype = el.evtype and",
    "season = el.season and evgenesisdt < :edt11",
    ")",
    "union",
    "select el.evtype evtype, el.evcode evcode, el.objcode,",
    "el.objtype, el.objitem, el.evgenesisdt, el.season, el.evidprotect",
    "from eventlist el",
    "where evcode in (%0:d, %1:d) and objtype in (%2:d) and",
    "objcode in (%3:s) and objitem in (%4:s) and evtype in (%5:d) and",
    "evgenesisdt between :edt12 and :edt13",
});

const std::string kTextB = JoinLines({
    "select distinct el.evtype evtype, el.evcode evcode, el.objcode,",
    "el.objtype, el.objitem, el.evaltdt evgenesisdt, null season,",
    "el.evidprotect",
    "from eventlist el",
    "where evcode in (%0:d, %1:d) and objtype in (%2:d) and",
    "objcode in (%3:s) and objitem in (%4:s) and evtype in (%5:d) and",
    "evaltdt =",
    "(",
    "select max(evaltdt) from eventlist",
    "where evcode in (%0:d, %1:d) and objtype = el.objtype and",
    "objcode = el.objcode and objitem = el.objitem and evtype = el.evtype and",
    "evgenesisdt < :edt14",
    ")",
    "union",
    "select distinct el.evtype evtype, el.evcode evcode, el.objcode,",
    "el.objtype, el.objitem, el.evaltdt evgenesisdt, null season,",
    "el.evidprotect",
    "from eventlist el",
    "where evcode in (%0:d, %1:d) and objtype in (%2:d) and",
    "objcode in (%3:s) and objitem in (%4:s) and evtype in (%5:d) and",
    "evgenesisdt between :edt5 and :edt6",
});

const std::string kTextC = JoinLines({
    "select el.evtype evtype, el.objitem evcode, el.objcode, %0:d objtype,",
    "0 objitem, el.evgenesisdt, el.season, el.evidprotect",
    "from eventlist el",
    "where evcode in (%1:d) and objtype in (%2:d) and",
    "objcode in (%3:s) and evtype in (%4:d) and",
    "evgenesisdt =",
    "(",
    "select max(evgenesisdt) from eventlist",
    "where evcode = el.evcode and objtype = el.objtype and",
    "objcode = el.objcode and evtype = el.evtype and",
    "season = el.season and evgenesisdt < :edt21",
    ")",
    "union",
    "select el.evtype evtype, el.objitem evcode, el.objcode, %0:d objtype,",
    "0 objitem, el.evgenesisdt, el.season, el.evidprotect",
    "from eventlist el",
    "where evcode in (%1:d) and objtype in (%2:d) and",
    "objcode in (%3:s) and evtype in (%4:d) and",
    "evgenesisdt between :edt22 and :edt23",
});

const std::string kTextD = JoinLines({
    "select distinct el.evtype evtype, el.objitem evcode, el.objcode, %0:d objtype,",
    "0 objitem, el.evaltdt evgenesisdt, null season, el.evidprotect",
    "from eventlist el",
    "where evcode in (%1:d) and objtype in (%2:d) and",
    "objcode in (%3:s) and evtype in (%4:d) and",
    "evaltdt =",
    "(",
    "select max(evaltdt) from eventlist",
    "where evcode = el.evcode and objtype = el.objtype and",
    "objcode = el.objcode and evtype = el.evtype and",
    "evgenesisdt < :edt24",
    ")",
    "union",
    "select distinct el.evtype evtype, el.objitem evcode, el.objcode, %0:d objtype,",
    "0 objitem, el.evaltdt evgenesisdt, null season, el.evidprotect",
    "from eventlist el",
    "where evcode in (%1:d) and objtype in (%2:d) and",
    "objcode in (%3:s) and evtype in (%4:d) and",
    "evgenesisdt between :edt25 and :edt26",
});

constexpr const char* kDataSql =
    "select * from data where parnumber = :pn1 and data_date between :sdt and :edt "
    "and %s order by data_date, season, object, item";
constexpr const char* kMomentarySql =
    "select * from data where parnumber = %d and data_date between :sdt and "
    ":edt and %s order by data_date, season, object, item";
constexpr const char* kTwoGroupFilter =
    "((object = 5 and objtype = 99 and item in (1, 2)) or (object = 7 and objtype = 98 and item in (3)))";

const double kStart = EncodeDate(2014, 11, 1);
const double kEnd = EncodeDate(2014, 11, 2);
const double kSecond = 1.0 / 86400.0;

class DriverQueries : public ::testing::Test {
protected:
    DriverQueries() : db_(Connection::Open(":memory:")) {
        InitSchema(*db_);
        db_->Begin();
        // Discrete inputs 12.97.1 and 112.97.2: on 3001, off 3002; evtype 2 the event's own date,
        // evtype 3 the alternative date.
        AddEvent(2, 3001, 12, 97, 1, kStart - 2, std::nullopt, 0);
        AddEvent(2, 3002, 12, 97, 1, kStart - 1, std::nullopt, 0); // last before the period
        AddEvent(2, 3005, 12, 97, 1, kStart - 0.5, std::nullopt, 0);
        AddEvent(2, 3001, 12, 97, 1, kStart + 0.25, std::nullopt, 0);
        AddEvent(2, 3001, 12, 97, 1, kEnd + 1, std::nullopt, 0);
        AddEvent(2, 3001, 13, 97, 1, kStart + 0.25, std::nullopt, 0); // a device not asked for
        AddEvent(2, 3001, 112, 97, 2, kStart + 0.5, std::nullopt, 1);
        AddEvent(3, 3001, 112, 97, 2, kStart - 1, kStart - 1.1, 0);
        AddEvent(3, 3002, 112, 97, 2, kStart + 0.6, kStart + 0.55, 0);
        // Measurement object 500: its state changes are events 4002 of the source type 96 with
        // the new state code as the item.
        AddEvent(2, 4002, 500, 96, 7, kStart - 3, std::nullopt, 0);
        AddEvent(2, 4002, 500, 96, 8, kStart - 1, std::nullopt, 0);
        AddEvent(2, 4002, 500, 96, 9, kStart + 0.1, std::nullopt, 0);
        AddEvent(3, 4002, 500, 96, 10, kStart + 0.2, kStart + 0.15, 0);
        AddEvent(2, 4002, 501, 96, 1, kStart + 0.1, std::nullopt, 0);
        db_->Commit();
    }

    void AddEvent(int evtype, int evcode, int objcode, int objtype, int objitem, double genesis,
                  std::optional<double> alt, std::optional<int> season) {
        const TlVariant values[] = {Int(evtype),
                                    Int(evcode),
                                    Int(objcode),
                                    Int(objtype),
                                    Int(objitem),
                                    Date(genesis),
                                    alt ? Date(*alt) : Null(),
                                    season ? Int(*season) : Null(),
                                    Int(evtype * 100 + objitem)};
        db_->Execute(
            "insert into eventlist (evtype, evcode, objcode, objtype, objitem, evgenesisdt, evaltdt, "
            "season, evidprotect) values (:a, :b, :c, :d, :e, :f, :g, :h, :i)",
            values);
    }

    void AddData(int parnumber, int object, int objtype, int item, double date, int season, double value0,
                 int64_t status = 0) {
        const std::string_view names[] = {"parnumber", "object", "objtype", "item",
                                          "data_date", "season", "value0",  "tvkstatus"};
        const TlVariant values[] = {Int(parnumber), Int(object), Int(objtype),   Int(item),
                                    Date(date),     Int(season), Double(value0), Int64(status)};
        db_->InsertOrReplace("data", names, values);
    }

    std::unique_ptr<Connection> db_;
};

struct EventRow {
    int evtype, evcode, objcode, objtype, objitem;
    double stamp;
    int season; // -1: null
};

TEST_F(DriverQueries, EventTextsJoinedByUnionGiveTheLastStateBeforeAndAllWithin) {
    const std::string sql =
        FormatSql(kTextA, {"3001", "3002", "97", "12, 112", "1, 2", "2"}) + "\r\nunion\r\n" +
        FormatSql(kTextB, {"3001", "3002", "97", "12, 112", "1, 2", "3"}) + "\r\nunion\r\n" +
        FormatSql(kTextC, {"95", "4002", "96", "500", "2"}) + "\r\nunion\r\n" +
        FormatSql(kTextD, {"95", "4002", "96", "500", "3"}) + "\r\norder by 3, 4, 5, 1, 7, 6";
    std::vector<TlVariant> params;
    for (int part = 0; part < 4; ++part) {
        params.insert(params.end(), {Date(kStart), Date(kStart), Date(kEnd)});
    }
    auto set = db_->Query(sql, params);

    const EventRow expected[] = {
        {2, 3002, 12, 97, 1, kStart - 1, 0},      {2, 3001, 12, 97, 1, kStart + 0.25, 0},
        {2, 3001, 112, 97, 2, kStart + 0.5, 1},   {3, 3001, 112, 97, 2, kStart - 1.1, -1},
        {3, 3002, 112, 97, 2, kStart + 0.55, -1}, {2, 8, 500, 95, 0, kStart - 1, 0},
        {2, 9, 500, 95, 0, kStart + 0.1, 0},      {3, 10, 500, 95, 0, kStart + 0.15, -1},
    };
    ASSERT_EQ(set->RowCount(), static_cast<int32_t>(std::size(expected)));
    const int32_t evtype = set->FieldIndex("evtype"), evcode = set->FieldIndex("evcode"),
                  objcode = set->FieldIndex("objcode"), objtype = set->FieldIndex("objtype"),
                  objitem = set->FieldIndex("objitem"), stamp = set->FieldIndex("evgenesisdt"),
                  season = set->FieldIndex("season"), idprotect = set->FieldIndex("evidprotect");
    ASSERT_GE(std::min({evtype, evcode, objcode, objtype, objitem, stamp, season, idprotect}), 0);
    set->First();
    for (const auto& row : expected) {
        ASSERT_FALSE(set->Eof());
        EXPECT_EQ(set->AsInteger(evtype), row.evtype) << row.objcode << " " << row.evcode;
        EXPECT_EQ(set->AsInteger(evcode), row.evcode) << row.objcode;
        EXPECT_EQ(set->AsInteger(objcode), row.objcode);
        EXPECT_EQ(set->AsInteger(objtype), row.objtype);
        EXPECT_EQ(set->AsInteger(objitem), row.objitem);
        EXPECT_EQ(set->AsDateTime(stamp), row.stamp) << row.objcode << " " << row.evcode;
        EXPECT_EQ(set->IsNull(season), row.season < 0) << row.objcode << " " << row.evcode;
        if (row.season >= 0) {
            EXPECT_EQ(set->AsInteger(season), row.season);
        }
        set->Next();
    }
    EXPECT_TRUE(set->Eof());
}

TEST_F(DriverQueries, ParametersRowGivesTheMomentaryDiscreteness) {
    const TlVariant zero[] = {Int(0)};
    auto set = db_->Query("select * from parameters where parnumber = 1100", zero);
    ASSERT_EQ(set->RowCount(), 1);
    set->First();
    EXPECT_EQ(set->AsInteger(set->FieldIndex("discrettype")), 5); // minutes
    EXPECT_GE(set->AsInteger(set->FieldIndex("discretvalue")), 1);
    EXPECT_LE(set->AsInteger(set->FieldIndex("discretvalue")), 30);
}

TEST_F(DriverQueries, DataRequestWithATwoGroupFilter) {
    const double stamp = kStart + 0.5;
    db_->Begin();
    AddData(12, 5, 99, 1, stamp, 0, 1.0, 0x40000);
    AddData(12, 5, 99, 2, stamp, 0, 2.0);
    AddData(12, 7, 98, 3, stamp, 0, 3.0);
    AddData(12, 5, 99, 1, stamp, 1, 1.5); // the same stamp in the other season
    AddData(12, 7, 98, 3, stamp - 5 * kSecond, 0, 4.0);
    AddData(12, 5, 99, 1, kStart - 10 * kSecond, 0, 5.0); // exactly the window begin
    AddData(12, 5, 99, 3, stamp, 0, -1.0);                // item not asked for
    AddData(12, 6, 99, 1, stamp, 0, -1.0);                // object not asked for
    AddData(12, 7, 99, 3, stamp, 0, -1.0);                // element type not asked for
    AddData(18, 5, 99, 1, stamp, 0, -1.0);                // another parameter
    AddData(12, 5, 99, 1, kEnd + kSecond, 0, -1.0);       // after the window
    AddData(12, 5, 99, 2, kStart - 11 * kSecond, 0, -1.0);
    AddData(1100, 5, 99, 1, stamp, 0, 230.0);
    db_->Commit();

    const TlVariant params[] = {Int(12), Date(kStart - 10 * kSecond), Date(kEnd)};
    auto set = db_->Query(FormatSql(kDataSql, {kTwoGroupFilter}), params);

    struct Expected {
        int object, item, season;
        double value0;
        int64_t status;
    };
    const Expected expected[] = {
        {5, 1, 0, 5.0, 0}, {7, 3, 0, 4.0, 0}, {5, 1, 0, 1.0, 0x40000},
        {5, 2, 0, 2.0, 0}, {7, 3, 0, 3.0, 0}, {5, 1, 1, 1.5, 0},
    };
    ASSERT_EQ(set->RowCount(), static_cast<int32_t>(std::size(expected)));
    set->First();
    for (const auto& row : expected) {
        EXPECT_EQ(set->AsInteger(set->FieldIndex("Object")), row.object) << row.value0;
        EXPECT_EQ(set->AsInteger(set->FieldIndex("Item")), row.item) << row.value0;
        EXPECT_EQ(set->AsInteger(set->FieldIndex("Season")), row.season) << row.value0;
        EXPECT_EQ(set->AsDouble(set->FieldIndex("Value0")), row.value0);
        EXPECT_EQ(set->StatusWord(), row.status) << row.value0;
        set->Next();
    }

    const TlVariant momentary_params[] = {Date(stamp - 0.1), Date(stamp)};
    auto momentary =
        db_->Query(FormatSql(kMomentarySql, {"1100", "((object = 5 and objtype = 99 and item in (1)))"}),
                   momentary_params);
    ASSERT_EQ(momentary->RowCount(), 1);
    EXPECT_EQ(momentary->AsDouble(momentary->FieldIndex("VALUE0")), 230.0);
}

TEST_F(DriverQueries, DataRequestWithAnEmptyFilterIsAClearError) {
    const TlVariant params[] = {Int(12), Date(kStart), Date(kEnd)};
    try {
        db_->Query(FormatSql(kDataSql, {""}), params);
        FAIL() << "the text with nothing between \"and\" and \"order by\" ran";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("syntax error"), std::string::npos) << e.what();
    }
}

std::vector<std::string> QueryPlan(Connection& db, const std::string& sql,
                                   std::span<const TlVariant> params) {
    auto set = db.Query("explain query plan " + sql, params);
    std::vector<std::string> lines;
    for (set->First(); !set->Eof(); set->Next()) {
        lines.push_back(set->AsText(set->FieldIndex("detail")));
    }
    return lines;
}

TEST_F(DriverQueries, DataRequestIsServedByTheDateIndexWithoutASort) {
    // The filter's elements are listed once into an index probed per row, however many there are.
    std::string large_filter = "(";
    for (int g = 0; g < 1200; ++g) {
        large_filter +=
            fmt::format("{}(object = {} and objtype = 99 and item in (1, 2))", g == 0 ? "" : " or ", g);
    }
    large_filter += ")";
    const TlVariant params[] = {Int(12), Date(kStart), Date(kEnd)};
    for (const std::string& filter : {std::string(kTwoGroupFilter), large_filter}) {
        const auto plan = QueryPlan(*db_, FormatSql(kDataSql, {filter}), params);
        ASSERT_FALSE(plan.empty());
        bool uses_index = false;
        bool lists_elements = false;
        for (const auto& line : plan) {
            uses_index =
                uses_index ||
                line.find("USING INDEX data_by_date (parnumber=? AND data_date>? AND data_date<?)") !=
                    std::string::npos;
            lists_elements = lists_elements || line.rfind("LIST SUBQUERY", 0) == 0;
            EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << line;
            // the element list's own rows are the only thing scanned
            EXPECT_TRUE(line.rfind("SCAN", 0) != 0 || line.find("CONSTANT ROWS") != std::string::npos)
                << line;
        }
        EXPECT_TRUE(uses_index) << plan.front();
        EXPECT_TRUE(lists_elements) << filter.size();
    }
}

TEST_F(DriverQueries, EventTextsSearchTheEventIndex) {
    const std::string sql = FormatSql(kTextA, {"3001", "3002", "97", "12, 112", "1, 2", "2"}) +
                            "\r\nunion\r\n" + FormatSql(kTextC, {"95", "4002", "96", "500", "2"}) +
                            "\r\norder by 3, 4, 5, 1, 7, 6";
    std::vector<TlVariant> params(6, Date(kStart));
    const auto plan = QueryPlan(*db_, sql, params);
    int searches = 0;
    for (const auto& line : plan) {
        EXPECT_EQ(line.rfind("SCAN", 0), std::string::npos) << line;
        if (line.rfind("SEARCH", 0) == 0) {
            ++searches;
            // every access narrows by element and event code and type, not by a part of them
            EXPECT_NE(line.find("(objcode=? AND objtype=? AND"), std::string::npos) << line;
            EXPECT_NE(line.find("evcode=? AND evtype=?"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(searches, 6) << "two outer selects and one subquery in each text";
}

} // namespace
} // namespace tl::db
