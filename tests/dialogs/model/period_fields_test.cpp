// The period controls: depth split and joined, date and time fields, the interval type of a
// stored value other than 0 and 1, and the exchange of a reversed interval.
#include "tldialogs/period_fields.hpp"

#include <gtest/gtest.h>

namespace tl::dialogs {
namespace {

DateTime At(int day, int hour) {
    return EncodeDate(2026, 1, day) + hour / 24.0;
}

TEST(PeriodFieldsTest, FieldsRoundTripWithTheDialogsRules) {
    struct Case {
        int32_t interval_type;
        DateTime begin, end;
        int32_t saved_type;
        DateTime saved_begin, saved_end;
        IntervalChoice choice;
    } const cases[] = {
        {1, At(10, 12), At(9, 12), 1, At(9, 12), At(10, 12), IntervalChoice::kInterval}, // exchanged
        {0, At(10, 12), At(9, 12), 0, At(10, 12), At(9, 12), IntervalChoice::kDepth},    // kept as entered
        {2, At(9, 6), At(10, 18), 0, At(9, 6), At(10, 18), IntervalChoice::kNeither},
    };
    for (const Case& c : cases) {
        settings::TaskSettings settings;
        settings.deep_base = 29;
        settings.interval_type = settings.interval_type_adv = c.interval_type;
        settings.begin_date_time = settings.begin_date_time_adv = c.begin;
        settings.end_date_time = settings.end_date_time_adv = c.end;
        PeriodFields fields = PeriodFromSettings(settings);
        EXPECT_EQ(fields.base.days, 1);
        EXPECT_EQ(fields.base.hours, 5);
        EXPECT_EQ(fields.base.choice, c.choice);
        EXPECT_EQ(fields.base.begin_date,
                  EncodeDate(2026, 1, static_cast<int>(c.begin - EncodeDate(2026, 1, 0))));
        settings::TaskSettings saved;
        PeriodToSettings(fields, saved);
        EXPECT_EQ(saved.deep_base, 29);
        for (const auto& [type, begin, end] :
             {std::tuple{saved.interval_type, saved.begin_date_time, saved.end_date_time},
              std::tuple{saved.interval_type_adv, saved.begin_date_time_adv, saved.end_date_time_adv}}) {
            EXPECT_EQ(type, c.saved_type);
            EXPECT_TRUE(SameStamp(begin, c.saved_begin));
            EXPECT_TRUE(SameStamp(end, c.saved_end));
        }
        EXPECT_TRUE(SameStamp(fields.base.begin_date + fields.base.begin_time, c.saved_begin))
            << "fields too";
    }
}

} // namespace
} // namespace tl::dialogs
