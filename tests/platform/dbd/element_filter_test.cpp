// The element-filter rewrite as a pure function: what it takes for a filter, what it leaves alone.
#include "element_filter.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::db {
namespace {

std::string Rewrite(std::string_view sql) {
    return RewriteElementFilters(sql, RenderRowValueList);
}

constexpr const char* kTwoGroups =
    "((object = 5 and objtype = 99 and item in (1, 2)) or (object = 7 and objtype = 98 and item in (3)))";
constexpr const char* kTwoGroupsRewritten =
    "((object, objtype, item) in (values (5, 99, 1), (5, 99, 2), (7, 98, 3)))";

TEST(ElementFilter, RewritesFiltersWhereverAWhereClauseHoldsThem) {
    struct Case {
        const char* name;
        std::string sql;
        std::string expected;
    };
    const std::string data_request =
        "select * from data where parnumber = :pn1 and data_date between :sdt and :edt and ";
    const std::string order = " order by data_date, season, object, item";
    const Case cases[] = {
        {"data request", data_request + kTwoGroups + order, data_request + kTwoGroupsRewritten + order},
        {"one group, one item",
         "select * from data where parnumber = 1100 and ((object = 12 and objtype = 97 and item in (1)))",
         "select * from data where parnumber = 1100 and ((object, objtype, item) in (values (12, 97, 1)))"},
        {"names and keywords in any case, spelling kept",
         "SELECT * FROM data WHERE ((Object = 5 AND OBJTYPE = 99 AND Item IN (1)) OR "
         "(object = 6 and objtype = 99 and item in (2)))",
         "SELECT * FROM data WHERE ((Object, OBJTYPE, Item) in (values (5, 99, 1), (6, 99, 2)))"},
        {"blanks of every kind, and none",
         "select * from data where (\r\n (  object=5\tand objtype =99 and item in(1 ,2) )or(object = 7 and "
         "objtype "
         "= 98 and item in (3)) )",
         std::string("select * from data where ") + kTwoGroupsRewritten},
        {"negative codes and leading zeros",
         "select * from data where ((object = -5 and objtype = 099 and item in (-1, 0)))",
         "select * from data where ((object, objtype, item) in (values (-5, 99, -1), (-5, 99, 0)))"},
        {"repeats kept",
         "select * from data where ((object = 5 and objtype = 99 and item in (1, 1)) or "
         "(object = 5 and objtype = 99 and item in (1)))",
         "select * from data where ((object, objtype, item) in (values (5, 99, 1), (5, 99, 1), (5, 99, 1)))"},
        {"64-bit limits",
         "select * from data where ((object = -9223372036854775808 and objtype = 9223372036854775807 and "
         "item "
         "in (0)))",
         "select * from data where ((object, objtype, item) in (values (-9223372036854775808, "
         "9223372036854775807, 0)))"},
        {"inside parentheses and a subquery of the where clause",
         std::string("select * from data where (parnumber = 12 and ") + kTwoGroups +
             ") or parnumber in (select parnumber from data where " + kTwoGroups + ")",
         std::string("select * from data where (parnumber = 12 and ") + kTwoGroupsRewritten +
             ") or parnumber in (select parnumber from data where " + kTwoGroupsRewritten + ")"},
        {"explain, a leading comment, with",
         std::string("-- plan\nexplain query plan with d as (select * from data where ") + kTwoGroups +
             ") select * from d",
         std::string("-- plan\nexplain query plan with d as (select * from data where ") +
             kTwoGroupsRewritten + ") select * from d"},
        {"quotes and comments around it untouched",
         std::string("select '") + kTwoGroups + "' as s from data /* " + kTwoGroups +
             " */ where \"x\" = 'a''b' and " + kTwoGroups + " -- " + kTwoGroups,
         std::string("select '") + kTwoGroups + "' as s from data /* " + kTwoGroups +
             " */ where \"x\" = 'a''b' and " + kTwoGroupsRewritten + " -- " + kTwoGroups},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Rewrite(c.sql), c.expected) << c.name;
    }
}

TEST(ElementFilter, LeavesEveryNearMissAsItIs) {
    struct Case {
        const char* name;
        std::string filter; // put after "select * from data where parnumber = 12 and "
    };
    const Case cases[] = {
        {"no outer parentheses", "(object = 5 and objtype = 99 and item in (1))"},
        {"empty item list", "((object = 5 and objtype = 99 and item in ()))"},
        {"trailing comma", "((object = 5 and objtype = 99 and item in (1,)))"},
        {"comment inside", "((object = 5 and objtype = 99 /* ! */ and item in (1)))"},
        {"quoted column", "((\"object\" = 5 and objtype = 99 and item in (1)))"},
        {"columns in another order", "((objtype = 99 and object = 5 and item in (1)))"},
        {"or inside a group", "((object = 5 or objtype = 99 and item in (1)))"},
        {"item compared, not listed", "((object = 5 and objtype = 99 and item = 1))"},
        {"other operator", "((object <> 5 and objtype = 99 and item in (1)))"},
        {"real literal", "((object = 5.0 and objtype = 99 and item in (1)))"},
        {"sign apart from its digits", "((object = - 5 and objtype = 99 and item in (1)))"},
        {"beyond 64 bits", "((object = 9223372036854775808 and objtype = 99 and item in (1)))"},
        {"groups joined by and",
         "((object = 5 and objtype = 99 and item in (1)) and (object = 6 and objtype = "
         "99 and item in (1)))"},
        {"more after the last group", "((object = 5 and objtype = 99 and item in (1)) or parnumber = 3)"},
        {"unterminated", "((object = 5 and objtype = 99 and item in (1))"},
        {"subquery instead of a list", "((object = 5 and objtype = 99 and item in (select 1)))"},
    };
    for (const auto& c : cases) {
        const std::string sql = "select * from data where parnumber = 12 and " + c.filter;
        EXPECT_EQ(Rewrite(sql), sql) << c.name;
    }
}

TEST(ElementFilter, LeavesFiltersOutsideAWhereClauseAsTheyAre) {
    // A select list's text names its result column; other statements keep their text as written.
    const std::string f = kTwoGroups;
    const std::string cases[] = {
        "select " + f + " from data",
        "select (select count(*) from data where " + f + ") as n",
        "select * from data order by " + f,
        "delete from data where " + f,
        "insert into t select * from data where " + f,
    };
    for (const auto& sql : cases) {
        EXPECT_EQ(Rewrite(sql), sql);
    }
}

} // namespace
} // namespace tl::db
