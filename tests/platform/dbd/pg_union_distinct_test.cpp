#include "pg_union_distinct.hpp"

#include <gtest/gtest.h>

namespace tl::db::pg {
namespace {

TEST(DropDistinctInsideUnion, DropsOnlyTheDistinctsAPlainUnionMakesRedundant) {
    struct Case {
        const char* sql;
        const char* expected; // nullptr: unchanged
    };
    const Case cases[] = {
        {"select distinct a, null s from t\r\nunion\r\nSELECT DISTINCT b, null from u order by 1",
         "select          a, null s from t\r\nunion\r\nSELECT          b, null from u order by 1"},
        {"select a from (select distinct b from t) x union select /* x */ distinct c, 'distinct' from u",
         "select a from (select distinct b from t) x union select /* x */          c, 'distinct' from u"},
        {"select distinct a from t", nullptr},
        {"select distinct a from t union all select distinct b from u", nullptr},
        {"select distinct a from t union select distinct b from u except select c from v", nullptr},
        {"select distinct on (a) a from t union select b from u", nullptr},
        {"with x as (select 1) select distinct a from t union select b from u", nullptr},
        {"select distinct a from t union select b from u; select distinct c from v", nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DropDistinctInsideUnion(c.sql), c.expected != nullptr ? c.expected : c.sql) << c.sql;
    }
}

} // namespace
} // namespace tl::db::pg
