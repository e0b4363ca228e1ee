#include "tlcommon/date_time.hpp"
#include "tlcommon/iso_date_time.hpp"

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

TEST(IsoDateTime, ReadsEveryPrecisionAndRefusesTheRest) {
    struct Case {
        const char* text;
        const char* formatted; // null: refused
    };
    const Case cases[] = {
        {"2024-02-29 23:59:59.999", "2024-02-29 23:59:59.999"},
        {"2024-02-29 23:59:59.000", "2024-02-29 23:59:59"},
        {"1899-12-30 00:00:00", "1899-12-30 00:00:00"},
        {"2025-01-10 12:30", "2025-01-10 12:30:00"},
        {"2023-02-29 00:00:00", nullptr},
        {"2024-13-01 00:00", nullptr},
        {"2024-01-01 24:00", nullptr},
        {"2024-01-01 00:60", nullptr},
        {"2024-01-01T00:00:00", nullptr},
        {"2024-01-01 00:00:00.5", nullptr}, // a length of none of the three forms
        {"2024-01-01 0a:00", nullptr},
        {"2024-01-01", nullptr},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseIsoDateTime(c.text);
        ASSERT_EQ(parsed.has_value(), c.formatted != nullptr) << c.text;
        if (parsed) {
            EXPECT_EQ(FormatIsoDateTime(*parsed), c.formatted);
        }
    }
    EXPECT_EQ(ParseIsoDateTime("2014-11-01 18:00"), 41944.75);
}

} // namespace
} // namespace tl
