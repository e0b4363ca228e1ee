#include "tlcommon/date_time.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(DateTime, DecodesAndFormatsKnownDates) {
    struct Case {
        DateTime value;
        const char* stamp;
    };
    const Case cases[] = {
        {0.0, "30.12.1899 00:00:00.000"},
        {2.0, "01.01.1900 00:00:00.000"},
        {36585.0, "29.02.2000 00:00:00.000"},
        {41944.75, "01.11.2014 18:00:00.000"},
        {41944.0 + 0.5 / 86400.0, "01.11.2014 00:00:00.500"},
        {EncodeDateTime({2014, 12, 1, 9, 5, 7, 42}), "01.12.2014 09:05:07.042"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatStamp(c.value), c.stamp) << c.value;
        EXPECT_EQ(ToMillis(EncodeDateTime(DecodeDateTime(c.value))), ToMillis(c.value)) << c.value;
    }
    EXPECT_EQ(FormatDateTimeSeconds(EncodeDateTime({2014, 12, 1, 9, 5, 7, 942})), "01.12.2014 09:05:07");
}

TEST(DateTime, StampsWithinAMillisecondAreEqual) {
    const DateTime t = EncodeDate(2020, 5, 5);
    EXPECT_TRUE(SameStamp(t, t + 0.9 * kOneMs));
    EXPECT_FALSE(SameStamp(t, t + 1.5 * kOneMs));
}

} // namespace
} // namespace tl
