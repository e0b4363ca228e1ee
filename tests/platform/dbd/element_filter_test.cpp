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

// The pattern with each "%" replaced by `filter` and each "#" by the two groups as written.
std::string Fill(std::string_view pattern, std::string_view filter) {
    std::string out;
    for (const char c : pattern) {
        out += c == '%' ? std::string(filter) : c == '#' ? std::string(kTwoGroups) : std::string(1, c);
    }
    return out;
}

TEST(ElementFilter, RewritesFiltersWhereverAWhereClauseHoldsThem) {
    struct Case {
        const char* name;
        const char* pattern;
        const char* filter;
        const char* rewritten;
    };
    const char* where = "select * from data where %";
    const Case cases[] = {
        {"data request",
         "select * from data where parnumber = :pn1 and data_date between :sdt and :edt and % order by "
         "data_date, season, object, item",
         kTwoGroups, kTwoGroupsRewritten},
        {"one group, one item", where, "((object = 12 and objtype = 97 and item in (1)))",
         "((object, objtype, item) in (values (12, 97, 1)))"},
        {"names and keywords in any case, spelling kept", "SELECT * FROM data WHERE %",
         "((Object = 5 AND OBJTYPE = 99 AND Item IN (1)) OR (object = 6 and objtype = 99 and item in (2)))",
         "((Object, OBJTYPE, Item) in (values (5, 99, 1), (6, 99, 2)))"},
        {"blanks of every kind, and none", where,
         "(\r\n (  object=5\tand objtype =99 and item in(1 ,2) )or(object = 7 and objtype = 98 and item in "
         "(3)) )",
         kTwoGroupsRewritten},
        {"negative codes and leading zeros", where, "((object = -5 and objtype = 099 and item in (-1, 0)))",
         "((object, objtype, item) in (values (-5, 99, -1), (-5, 99, 0)))"},
        {"repeats kept", where,
         "((object = 5 and objtype = 99 and item in (1, 1)) or (object = 5 and objtype = 99 and item in "
         "(1)))",
         "((object, objtype, item) in (values (5, 99, 1), (5, 99, 1), (5, 99, 1)))"},
        {"64-bit limits", where,
         "((object = -9223372036854775808 and objtype = 9223372036854775807 and item in (0)))",
         "((object, objtype, item) in (values (-9223372036854775808, 9223372036854775807, 0)))"},
        {"inside parentheses and a subquery of the where clause",
         "select * from data where (parnumber = 12 and %) or parnumber in (select parnumber from data where "
         "%)",
         kTwoGroups, kTwoGroupsRewritten},
        {"explain, a leading comment, with",
         "-- plan\nexplain query plan with d as (select * from data where %) select * from d", kTwoGroups,
         kTwoGroupsRewritten},
        {"quotes and comments around it untouched",
         "select '#' as s from data /* # */ where \"x\" = 'a''b' and % -- #", kTwoGroups,
         kTwoGroupsRewritten},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Rewrite(Fill(c.pattern, c.filter)), Fill(c.pattern, c.rewritten)) << c.name;
    }
}

// Near misses of a filter, and filters outside a where clause (a select list's text names its result
// column; other statements keep their text as written).
TEST(ElementFilter, LeavesEveryNearMissAndFiltersOutsideAWhereClauseAsTheyAre) {
    const std::string near = "select * from data where parnumber = 12 and ";
    const std::string f = kTwoGroups;
    const std::pair<const char*, std::string> cases[] = {
        {"no outer parentheses", near + "(object = 5 and objtype = 99 and item in (1))"},
        {"empty item list", near + "((object = 5 and objtype = 99 and item in ()))"},
        {"comment inside", near + "((object = 5 and objtype = 99 /* ! */ and item in (1)))"},
        {"quoted column", near + "((\"object\" = 5 and objtype = 99 and item in (1)))"},
        {"or inside a group", near + "((object = 5 or objtype = 99 and item in (1)))"},
        {"item compared, not listed", near + "((object = 5 and objtype = 99 and item = 1))"},
        {"other operator", near + "((object <> 5 and objtype = 99 and item in (1)))"},
        {"real literal", near + "((object = 5.0 and objtype = 99 and item in (1)))"},
        {"beyond 64 bits", near + "((object = 9223372036854775808 and objtype = 99 and item in (1)))"},
        {"more after the last group",
         near + "((object = 5 and objtype = 99 and item in (1)) or parnumber = 3)"},
        {"unterminated", near + "((object = 5 and objtype = 99 and item in (1))"},
        {"select list", "select " + f + " from data"},
        {"select list of a subquery", "select (select count(*) from data where " + f + ") as n"},
        {"order by", "select * from data order by " + f},
        {"delete", "delete from data where " + f},
    };
    for (const auto& [name, sql] : cases) {
        EXPECT_EQ(Rewrite(sql), sql) << name;
    }
}

} // namespace
} // namespace tl::db
