// Queries with element filters give the rows that SQLite gives for the text as the driver wrote it.
// The original text runs on a plain SQLite handle (only where SQLite accepts it), the same text
// through the connection, which rewrites its filters.
#include "element_filter.hpp"
#include "test_support.hpp"
#include "tlplatform/db_connection.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <random>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace tl::db {
namespace {

using namespace test;

struct Group {
    int object;
    int objtype;
    std::vector<int> items;
};

std::string FilterText(const std::vector<Group>& groups) {
    std::vector<std::string> parts;
    for (const auto& g : groups) {
        parts.push_back(fmt::format("(object = {} and objtype = {} and item in ({}))", g.object, g.objtype,
                                    fmt::join(g.items, ", ")));
    }
    return fmt::format("({})", fmt::join(parts, " or "));
}

std::string DataRequest(const std::vector<Group>& groups) {
    return "select * from data where parnumber = 12 and data_date between 41944.0 and 41945.0 and " +
           FilterText(groups) + " order by data_date, season, object, item";
}

// A row as "v1|v2|..." with nulls as "NULL"; rows sorted, since rows equal in the ordering columns
// may come in either order.
using Rows = std::vector<std::string>;

class RawSqlite {
public:
    explicit RawSqlite(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << path;
        }
    }
    ~RawSqlite() { sqlite3_close_v2(db_); }
    RawSqlite(const RawSqlite&) = delete;
    RawSqlite& operator=(const RawSqlite&) = delete;

    // The rows, or the error text as the only row prefixed with "error: ".
    Rows Run(const std::string& sql) const {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
            SQLITE_OK) {
            return {std::string("error: ") + sqlite3_errmsg(db_)};
        }
        Rows rows;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::string row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                row += c == 0 ? "" : "|";
                switch (sqlite3_column_type(statement, c)) {
                case SQLITE_NULL:
                    row += "NULL";
                    break;
                case SQLITE_INTEGER:
                    row += fmt::format("{}", sqlite3_column_int64(statement, c));
                    break;
                case SQLITE_FLOAT:
                    row += fmt::format("{}", sqlite3_column_double(statement, c));
                    break;
                default:
                    row += reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                }
            }
            rows.push_back(row);
        }
        sqlite3_finalize(statement);
        std::sort(rows.begin(), rows.end());
        return rows;
    }

private:
    sqlite3* db_ = nullptr;
};

// The rows of the statement run through the connection, which rewrites its filters.
Rows Rewritten(Connection& db, const std::string& sql) {
    auto set = db.Query(sql, {});
    Rows rows;
    for (set->First(); !set->Eof(); set->Next()) {
        std::string row;
        for (int32_t c = 0; c < set->ColumnCount(); ++c) {
            row += c == 0 ? "" : "|";
            row += set->IsNull(c) ? "NULL" : set->AsText(c);
        }
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

class ElementFilterQueries : public ::testing::Test {
protected:
    ElementFilterQueries() : path_(dir_.File("metering.db")), db_(Connection::Open(path_)) {
        InitSchema(*db_);
        // Objects 1..30 of types 98 and 99 with channels 1..4: two parameters, four stamps of which the
        // last lies past the window (41944..41945), a second season at the second stamp, a status word
        // here and there.
        const std::string_view names[] = {"parnumber", "object", "objtype", "item",     "data_date",
                                          "season",    "value0", "value1",  "tvkstatus"};
        db_->Begin();
        for (const int parnumber : {12, 18}) {
            for (int object = 1; object <= 30; ++object) {
                for (const int objtype : {98, 99}) {
                    for (int item = 1; item <= 4; ++item) {
                        for (int stamp = 0; stamp < 4; ++stamp) {
                            for (int season = 0; season <= (stamp == 1 ? 1 : 0); ++season) {
                                const TlVariant values[] = {Int(parnumber),
                                                            Int(object),
                                                            Int(objtype),
                                                            Int(item),
                                                            Date(41944.25 + stamp * 0.3),
                                                            Int(season),
                                                            Double(object * 100 + item + stamp * 0.5),
                                                            item == 3 ? Null() : Double(-item),
                                                            Int64(object % 5 == 0 ? 0x40000 : 0)};
                                db_->InsertOrReplace("data", names, values);
                            }
                        }
                    }
                }
            }
        }
        db_->Execute("create table loose (id integer primary key, object, objtype, item)");
        db_->Execute(
            "insert into loose (object, objtype, item) values (5, 99, 1), (5, 99, 3), (null, 99, 1), "
            "(null, 98, 1), (5, null, 2), (5, null, 7), (7, 98, null), (5, 98, null), (null, null, null), "
            "(5.0, 99, 2), ('5', 99, 2), ('x', 99, 1), (-3, 97, 0)");
        db_->Commit();
    }

    TempDir dir_;
    std::string path_;
    std::unique_ptr<Connection> db_;
};

TEST_F(ElementFilterQueries, RewrittenAndOriginalFiltersSelectTheSameRows) {
    std::mt19937 random(20141101); // a fixed draw: the same filters every run
    std::vector<std::vector<Group>> filters = {
        {{5, 99, {1, 2}}, {7, 98, {3}}},
        {{5, 99, {1, 1, 4}}, {5, 99, {1}}},           // repeats
        {{31, 99, {1}}, {-5, 98, {2}}, {5, 97, {1}}}, // nothing there
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
    RawSqlite raw(path_);
    size_t rows_seen = 0;
    for (const auto& groups : filters) {
        const std::string sql = DataRequest(groups);
        ASSERT_EQ(FindElementFilters(sql).size(), 1u) << sql;
        const Rows expected = raw.Run(sql);
        ASSERT_TRUE(expected.empty() || expected[0].rfind("error: ", 0) != 0) << expected[0];
        EXPECT_EQ(Rewritten(*db_, sql), expected) << FilterText(groups);
        rows_seen += expected.size();
    }
    EXPECT_GT(rows_seen, 1000u) << "the draws should select a fair share of the table";
}

TEST_F(ElementFilterQueries, NullsAndOtherValueKindsCompareAlike) {
    // Under "not", a filter that is null for a row differs from one that is false: both forms must
    // agree on every row of a table without types or constraints.
    const std::string filter = FilterText({{5, 99, {1, 2}}, {7, 98, {3}}, {-3, 97, {0}}});
    RawSqlite raw(path_);
    for (const std::string& sql :
         {"select id from loose where " + filter, "select id from loose where not " + filter,
          "select id from loose where " + filter + " is null"}) {
        const Rows expected = raw.Run(sql);
        ASSERT_FALSE(expected.empty()) << sql;
        ASSERT_NE(expected[0].rfind("error: ", 0), 0u) << expected[0];
        EXPECT_EQ(Rewritten(*db_, sql), expected) << sql;
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
    RawSqlite raw(path_);
    const Rows refused = raw.Run(DataRequest(groups));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("Expression tree is too large"), std::string::npos) << refused[0];

    Rows expected;
    for (size_t begin = 0; begin < groups.size(); begin += 300) {
        const std::vector<Group> part(groups.begin() + static_cast<std::ptrdiff_t>(begin),
                                      groups.begin() + static_cast<std::ptrdiff_t>(begin + 300));
        for (auto& row : raw.Run(DataRequest(part))) {
            expected.push_back(std::move(row));
        }
    }
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    EXPECT_EQ(Rewritten(*db_, DataRequest(groups)), expected);
    EXPECT_EQ(expected.size(), 30u * 2 * 4 * 4) << "objects 1..30 of both types, items 1..4, four rows each";
}

} // namespace
} // namespace tl::db
