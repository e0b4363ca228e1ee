#include <gtest/gtest.h>

#include "tlcommon/date_time.hpp"

namespace tl {
namespace {

struct CivilCase {
    DateTime value;
    DateTimeParts parts;
};

TEST(DateTime, DecodesKnownDates) {
    const CivilCase cases[] = {
        {0.0, {1899, 12, 30, 0, 0, 0, 0}},
        {1.0, {1899, 12, 31, 0, 0, 0, 0}},
        {2.0, {1900, 1, 1, 0, 0, 0, 0}},
        {36526.0, {2000, 1, 1, 0, 0, 0, 0}},
        {36585.0, {2000, 2, 29, 0, 0, 0, 0}},
        {41944.75, {2014, 11, 1, 18, 0, 0, 0}},
        {41944.0 + 0.5 / 86400.0, {2014, 11, 1, 0, 0, 0, 500}},
    };
    for (const auto& c : cases) {
        const DateTimeParts p = DecodeDateTime(c.value);
        EXPECT_EQ(p.year, c.parts.year) << c.value;
        EXPECT_EQ(p.month, c.parts.month) << c.value;
        EXPECT_EQ(p.day, c.parts.day) << c.value;
        EXPECT_EQ(p.hour, c.parts.hour) << c.value;
        EXPECT_EQ(p.millisecond, c.parts.millisecond) << c.value;
        EXPECT_EQ(ToMillis(EncodeDateTime(p)), ToMillis(c.value)) << c.value;
    }
}

TEST(DateTime, FormatsStampsWithMilliseconds) {
    DateTimeParts p{2014, 12, 1, 9, 5, 7, 42};
    EXPECT_EQ(FormatStamp(EncodeDateTime(p)), "01.12.2014 09:05:07.042");
    EXPECT_EQ(FormatDateTimeSeconds(EncodeDateTime(p)), "01.12.2014 09:05:07");
}

TEST(DateTime, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2023, 12), 31);
}

TEST(DateTime, StampsWithinAMillisecondAreEqual) {
    const DateTime t = EncodeDate(2020, 5, 5);
    EXPECT_TRUE(SameStamp(t, t + 0.9 * kOneMs));
    EXPECT_FALSE(SameStamp(t, t + 1.5 * kOneMs));
}

} // namespace
} // namespace tl
