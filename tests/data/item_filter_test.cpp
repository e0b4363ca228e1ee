#include "tldata/item_filter.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(ItemFilterTest, FilterTextGroupsItemsByObjectAndTypeAndIsRenewedOnAdding) {
    TSQLItemParamContainer filter;
    EXPECT_EQ(filter.FilterText(), "");
    filter.Add(7, 98, 3);
    filter.Add(5, 99, 2);
    EXPECT_EQ(
        filter.FilterText(),
        "((object = 5 and objtype = 99 and item in (2)) or (object = 7 and objtype = 98 and item in (3)))");
    EXPECT_TRUE(filter.Add(5, 99, 1));
    EXPECT_FALSE(filter.Add(5, 99, 1));
    EXPECT_EQ(filter.FilterText(), "((object = 5 and objtype = 99 and item in (1, 2)) or (object = 7 and "
                                   "objtype = 98 and item in (3)))");
    filter.Add(-1, 0, 4);
    EXPECT_EQ(filter.FilterText().substr(0, 50), "((object = -1 and objtype = 0 and item in (4)) or ");
}

} // namespace
} // namespace tl
