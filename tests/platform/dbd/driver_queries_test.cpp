// The SQL texts that the calculation driver sends: the indexes serve them without scans or sorts.
// Their answers on the metering schema are checked where the driver reads them.
#include "event_query.hpp"
#include "test_support.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::db {
namespace {

using namespace test;

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
    TlVariant params[3] = {};
    for (const std::string& filter :
         {ElementFilterText(0, 2, 1, 99, "1, 2"), ElementFilterText(0, 1200, 1, 99, "1, 2")}) {
        const auto plan = QueryPlan(DataRequestSql(filter), params);
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
    // nothing between "and" and "order by"
    const std::string error = ErrorOf([&] { db_->Query(DataRequestSql(""), params); });
    EXPECT_NE(error.find("syntax error"), std::string::npos) << error;
}

TEST_F(DriverQueries, EventTextsSearchTheEventIndex) {
    const std::string sql = DiscreteInputEventSql("12, 112", "1, 2", false) + std::string(kEventUnion) +
                            MeasurementObjectEventSql("500", false) + std::string(kEventOrder);
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
