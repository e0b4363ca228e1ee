// The SQL texts that the calculation driver sends, word for word: the indexes serve them without
// scans or sorts. Their answers on the metering schema are checked where the driver reads them.
#include "test_support.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::db {
namespace {

using test::ErrorOf;

// "%N:d" and "%N:s" replaced by args[N], "%s" by the next argument, as the driver formats.
std::string FormatSql(std::string_view pattern, const std::vector<std::string>& args) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
        } else if (pattern[i + 1] == 's') {
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

const std::string kDiscreteInputEvents =
    "select el.evtype as evtype, el.evcode as evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evgenesisdt, el.season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in (%0:d, %1:d) and objtype in (%2:d) and\r\n"
    "objcode in (%3:s) and objitem in (%4:s) and evtype in (%5:d) and \r\n"
    "evgenesisdt =\r\n"
    "(\r\n"
    "select max(evgenesisdt) from eventlist\r\n"
    "where evcode in (%0:d, %1:d) and objtype = el.objtype and\r\n"
    "objcode = el.objcode and objitem = el.objitem and evtype = el.evtype and\r\n"
    "season = el.season and evgenesisdt < :edt11\r\n"
    ")\r\n"
    "union\r\n"
    "select el.evtype evtype, el.evcode evcode, el.objcode,\r\n"
    "el.objtype, el.objitem, el.evgenesisdt, el.season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in (%0:d, %1:d) and objtype in (%2:d) and\r\n"
    "objcode in (%3:s) and objitem in (%4:s) and evtype in (%5:d) and\r\n"
    "evgenesisdt between :edt12 and :edt13";

const std::string kObjectStateEvents =
    "select el.evtype evtype, el.objitem evcode, el.objcode, %0:d objtype,\r\n"
    "0 objitem, el.evgenesisdt, el.season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in (%1:d) and objtype in (%2:d) and\r\n"
    "objcode in (%3:s) and evtype in (%4:d) and\r\n"
    "evgenesisdt =\r\n"
    "(\r\n"
    "select max(evgenesisdt) from eventlist\r\n"
    "where evcode = el.evcode and objtype = el.objtype and\r\n"
    "objcode = el.objcode and evtype = el.evtype and\r\n"
    "season = el.season and evgenesisdt < :edt21\r\n"
    ")\r\n"
    "union\r\n"
    "select el.evtype evtype, el.objitem evcode, el.objcode, %0:d objtype,\r\n"
    "0 objitem, el.evgenesisdt, el.season, el.evidprotect\r\n"
    "from eventlist el\r\n"
    "where evcode in (%1:d) and objtype in (%2:d) and\r\n"
    "objcode in (%3:s) and evtype in (%4:d) and\r\n"
    "evgenesisdt between :edt22 and :edt23";

constexpr const char* kDataSql =
    "select * from data where parnumber = :pn1 and data_date between :sdt and :edt "
    "and %s order by data_date, season, object, item";

class DriverQueries : public ::testing::Test {
protected:
    DriverQueries() : db_(Connection::Open(":memory:")) { InitSchema(*db_); }

    std::vector<std::string> QueryPlan(const std::string& sql, std::span<const TlVariant> params) {
        auto set = db_->Query("explain query plan " + sql, params);
        std::vector<std::string> lines;
        for (set->First(); !set->Eof(); set->Next()) {
            lines.push_back(set->AsText(set->FieldIndex("detail")));
        }
        return lines;
    }

    std::unique_ptr<Connection> db_;
};

TEST_F(DriverQueries, DataRequestIsServedByTheDateIndexWithoutASort) {
    // The filter's elements are listed once into an index probed per row, or, for a long filter,
    // kept in a table whose key is probed per row.
    std::string large_filter = "(";
    for (int g = 0; g < 1200; ++g) {
        large_filter +=
            fmt::format("{}(object = {} and objtype = 99 and item in (1, 2))", g == 0 ? "" : " or ", g);
    }
    large_filter += ")";
    TlVariant params[3] = {};
    for (const std::string& filter :
         {std::string(
              "((object = 5 and objtype = 99 and item in (1, 2)) or (object = 7 and objtype = 98 and item "
              "in (3)))"),
          large_filter}) {
        const auto plan = QueryPlan(FormatSql(kDataSql, {filter}), params);
        ASSERT_FALSE(plan.empty());
        bool uses_index = false;
        bool lists_elements = false;
        for (const auto& line : plan) {
            uses_index = uses_index || line.find("USING PRIMARY KEY (parnumber=? AND data_date>? AND "
                                                 "data_date<?)") != std::string::npos;
            lists_elements = lists_elements || line.rfind("LIST SUBQUERY", 0) == 0 ||
                             line.find("FOR IN-OPERATOR") != std::string::npos;
            EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << line;
            // the element list's own rows are the only thing scanned
            EXPECT_TRUE(line.rfind("SCAN", 0) != 0 || line.find("CONSTANT ROWS") != std::string::npos)
                << line;
        }
        EXPECT_TRUE(uses_index) << plan.front();
        EXPECT_TRUE(lists_elements) << filter.size();
    }
}

TEST_F(DriverQueries, DataRequestWithAnEmptyFilterIsAClearError) {
    TlVariant params[3] = {};
    // nothing between "and" and "order by"
    const std::string error = ErrorOf([&] { db_->Query(FormatSql(kDataSql, {""}), params); });
    EXPECT_NE(error.find("syntax error"), std::string::npos) << error;
}

TEST_F(DriverQueries, EventTextsSearchTheEventIndex) {
    const std::string sql =
        FormatSql(kDiscreteInputEvents, {"3001", "3002", "97", "12, 112", "1, 2", "2"}) + "\r\nunion\r\n" +
        FormatSql(kObjectStateEvents, {"95", "4002", "96", "500", "2"}) + "\r\norder by 3, 4, 5, 1, 7, 6";
    TlVariant params[6] = {};
    int searches = 0;
    for (const auto& line : QueryPlan(sql, params)) {
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
