#include "case_fold.hpp"
#include "setting_value.hpp"
#include "tlcommon/date_time.hpp"

#include <gtest/gtest.h>

namespace tl::svc {
namespace {

TEST(FoldCase, LowersLatinAndCyrillicCapitalsOnly) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"\\Scripts\\Losses1\\Object\\", "\\scripts\\losses1\\object\\"},
        {"АПРЯЀЏ", "апряѐџ"}, // the first and last capital of each range that is shifted alike
        {"уже строчные 100.0.5", "уже строчные 100.0.5"},
        {"ÀÉ", "ÀÉ"}, // outside the two alphabets nothing changes
        {"A\xD0", "a\xD0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldCase(c.in), c.out) << c.in;
    }
}

TEST(SettingValue, ReadsAsEveryType) {
    const double stamp = EncodeDateTime({2014, 11, 1, 18, 30, 0, 250});
    struct Case {
        const char* name;
        StoredSetting stored;
        std::string as_string;
        std::optional<int32_t> as_integer;
        std::optional<bool> as_bool;
        std::optional<double> as_date_time;
    };
    const Case cases[] = {
        {"integer", StoreInteger(-12), "-12", -12, true, -12.0},
        {"zero", StoreInteger(0), "0", 0, false, 0.0},
        {"bool", StoreBool(true), "1", 1, true, std::nullopt},
        {"date-time", StoreDateTime(stamp), "01.11.2014 18:30:00.250", std::nullopt, std::nullopt, stamp},
        {"integer text", StoreString("12"), "12", 12, true, 12.0},
        {"padded integer text", StoreString(" 7 "), " 7 ", 7, true, 7.0},
        {"decimal text", StoreString("1,5"), "1,5", std::nullopt, std::nullopt, 1.5},
        {"stamp text", StoreString("01.11.2014 18:30:00.250"), "01.11.2014 18:30:00.250", std::nullopt,
         std::nullopt, stamp},
        {"true text", StoreString("True"), "True", std::nullopt, true, std::nullopt},
        {"false text", StoreString("false"), "false", std::nullopt, false, std::nullopt},
        {"word", StoreString("Линия"), "Линия", std::nullopt, std::nullopt, std::nullopt},
        {"empty", StoreString(""), "", std::nullopt, std::nullopt, std::nullopt},
        {"beyond 32 bits", StoreString("4294967296"), "4294967296", std::nullopt, true, 4294967296.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAsString(c.stored), c.as_string) << c.name;
        EXPECT_EQ(ReadAsInteger(c.stored), c.as_integer) << c.name;
        EXPECT_EQ(ReadAsBool(c.stored), c.as_bool) << c.name;
        const auto date_time = ReadAsDateTime(c.stored);
        ASSERT_EQ(date_time.has_value(), c.as_date_time.has_value()) << c.name;
        if (date_time) {
            EXPECT_NEAR(*date_time, *c.as_date_time, kOneMs / 10) << c.name;
        }
    }
}

} // namespace
} // namespace tl::svc
