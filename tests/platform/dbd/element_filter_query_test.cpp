// Queries with element filters give the rows that the database gives for the text as the driver
// wrote it, on SQLite and on PostgreSQL (under scripts/with-postgres.sh). The oracle is the same text
// with a comment opening the filter: no filter is found there, so the database evaluates the
// original OR chain.
#include "database_fixture.hpp"
#include "element_filter.hpp"
#include "tlplatform/db_connection.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace tl::db {
namespace {

using namespace test;

struct Group {
    int64_t object;
    int objtype;
    std::vector<int> items;
};

std::string FilterText(const std::vector<Group>& groups, bool as_written = false) {
    std::vector<std::string> parts;
    for (const auto& g : groups) {
        parts.push_back(fmt::format("(object = {} and objtype = {} and item in ({}))", g.object, g.objtype,
                                    fmt::join(g.items, ", ")));
    }
    return fmt::format("({}{})", as_written ? "/* as written */ " : "", fmt::join(parts, " or "));
}

std::string DataRequest(const std::vector<Group>& groups, bool as_written = false) {
    return "select * from data where parnumber = 12 and data_date between 41944.0 and 41945.0 and " +
           FilterText(groups, as_written) + " order by data_date, season, object, item";
}

// The rows sorted, since rows equal in the ordering columns may come in either order.
using RowList = std::vector<std::string>;
RowList Select(Connection& db, const std::string& sql) {
    RowList rows = RowsAsText(*db.Query(sql, {}));
    std::sort(rows.begin(), rows.end());
    return rows;
}

class ElementFilterQueries : public OnTestDatabase {
protected:
    ElementFilterQueries() {
        // Objects 1..30 of types 98 and 99 with channels 1..4: two parameters, four stamps of which the
        // last lies past the window (41944..41945), a second season at the second stamp, a status word
        // here and there.
        const std::string_view names[] = {"parnumber", "object", "objtype", "item",     "data_date",
                                          "season",    "value0", "value1",  "tvkstatus"};
        db_->Begin();
        for (int row = 0; row < 2 * 30 * 2 * 4 * 4; ++row) {
            const int parnumber = row < 960 ? 12 : 18;
            const int stamp = row % 4;
            const int item = 1 + row / 4 % 4;
            const int objtype = row / 16 % 2 == 0 ? 98 : 99;
            const int object = 1 + row / 32 % 30;
            const TlVariant date = Date(41944.25 + stamp * 0.3);
            const TlVariant value0 = Double(object * 100 + item + stamp * 0.5);
            const TlVariant value1 = item == 3 ? Null() : Double(-item);
            const TlVariant status = Int64(object % 5 == 0 ? 0x40000 : 0);
            for (int season = 0; season <= (stamp == 1 ? 1 : 0); ++season) {
                const TlVariant values[] = {Int(parnumber), Int(object), Int(objtype), Int(item), date,
                                            Int(season),    value0,      value1,       status};
                db_->InsertOrReplace("data", names, values);
            }
        }
        // Without types on SQLite, where a number may also come as a real or as text.
        db_->Execute(
            OnPostgres()
                ? "create table loose (id integer primary key, object integer, objtype integer, item "
                  "integer)"
                : "create table loose (id integer primary key, object, objtype, item)");
        db_->Execute(
            "insert into loose (id, object, objtype, item) values (1, 5, 99, 1), (2, 5, 99, 3), (3, null, "
            "99, 1), "
            "(4, null, 98, 1), (5, 5, null, 2), (6, 5, null, 7), (7, 7, 98, null), (8, 5, 98, null), "
            "(9, null, null, null), (10, -3, 97, 0)");
        if (!OnPostgres()) {
            db_->Execute(
                "insert into loose (id, object, objtype, item) values (11, 5.0, 99, 2), (12, '5', 99, 2), "
                "(13, 'x', 99, 1)");
        }
        db_->Commit();
    }

    // Compares the rows of `sql` with those of its text as written (which must not be rewritten);
    // returns how many there are.
    size_t ExpectSameRows(const std::string& sql, const std::string& as_written) {
        EXPECT_TRUE(FindElementFilters(as_written).empty()) << as_written;
        const RowList expected = Select(*db_, as_written);
        EXPECT_EQ(Select(*db_, sql), expected) << sql;
        return expected.size();
    }
};

TEST_F(ElementFilterQueries, RewrittenAndOriginalFiltersSelectTheSameRows) {
    std::mt19937 random(20141101); // a fixed draw: the same filters every run
    std::vector<std::vector<Group>> filters = {
        {{5, 99, {1, 1, 4}}, {5, 99, {1}}},          // repeats, one type
        {{5, 99, {2}}, {int64_t{1} << 33, 99, {2}}}, // beyond 32 bits
    };
    for (int draw = 0; draw < 25; ++draw) {
        std::vector<Group> groups(1 + random() % 40);
        for (auto& g : groups) {
            g.object = static_cast<int>(random() % 33);
            g.objtype = 97 + static_cast<int>(random() % 3);
            g.items.resize(1 + random() % 5);
            for (auto& item : g.items) {
                item = static_cast<int>(random() % 6);
            }
        }
        filters.push_back(std::move(groups));
    }
    // Long filters asked again, after others took the tables that held them, and right after
    // themselves.
    for (size_t again : {2, 1, 25, 24, 24, 3}) {
        auto repeated = filters[again];
        filters.push_back(std::move(repeated));
    }
    size_t rows_seen = 0;
    for (const auto& groups : filters) {
        const std::string sql = DataRequest(groups);
        ASSERT_EQ(FindElementFilters(sql).size(), 1u) << sql;
        rows_seen += ExpectSameRows(sql, DataRequest(groups, true));
    }
    EXPECT_GT(rows_seen, 1000u) << "the draws should select a fair share of the table";
}

TEST_F(ElementFilterQueries, NullsAndOtherValueKindsCompareAlike) {
    // Under "not", a filter that is null for a row differs from one that is false: both forms must
    // agree on every row of a table without types or constraints.
    const std::vector<Group> groups = {{5, 99, {1, 2}}, {7, 98, {3}}, {-3, 97, {0}}};
    for (const char* pattern : {"select id from loose where {}", "select id from loose where not {}",
                                "select id from loose where {} is null"}) {
        const auto with = [&](bool as_written) {
            return fmt::format(fmt::runtime(pattern), FilterText(groups, as_written));
        };
        EXPECT_GT(ExpectSameRows(with(false), with(true)), 0u) << pattern;
    }
}

TEST_F(ElementFilterQueries, FiltersBeyondTheExpressionDepthLimitRun) {
    // 1,500 groups: SQLite refuses the OR chain; the rows equal those of the same groups asked for in
    // parts that it accepts.
    std::vector<Group> groups;
    for (int g = 0; g < 1500; ++g) {
        // every object 1..40 comes back 37 times, with both types and each item over the rounds
        groups.push_back({1 + g % 40, 98 + (g / 40) % 2, {1 + (g / 80) % 4, 4}});
    }
    if (!OnPostgres()) {
        const std::string refused = ErrorOf([&] { db_->Query(DataRequest(groups, true), {}); });
        EXPECT_NE(refused.find("Expression tree is too large"), std::string::npos) << refused;
    }
    RowList expected;
    for (size_t begin = 0; begin < groups.size(); begin += 300) {
        const std::vector<Group> part(groups.begin() + static_cast<std::ptrdiff_t>(begin),
                                      groups.begin() + static_cast<std::ptrdiff_t>(begin + 300));
        for (auto& row : Select(*db_, DataRequest(part, true))) {
            expected.push_back(std::move(row));
        }
    }
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    EXPECT_EQ(Select(*db_, DataRequest(groups)), expected);
    EXPECT_EQ(expected.size(), 30u * 2 * 4 * 4) << "objects 1..30 of both types, items 1..4, four rows each";
}

} // namespace
} // namespace tl::db
