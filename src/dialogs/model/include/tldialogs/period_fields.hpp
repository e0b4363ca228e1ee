// The period controls of the settings dialog: for the base parameters and for the additional one,
// a depth in days and hours or a fixed interval from a date and time to a date and time.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tlsettings/task_settings_model.hpp"

#include <cstdint>

namespace tl::dialogs {

enum class IntervalChoice {
    kDepth,    // "Глубина от текущего момента"
    kInterval, // "Произвольный интервал"
    kNeither,  // a stored IntervalType other than 0 and 1 ticks neither
};

struct IntervalFields {
    IntervalChoice choice = IntervalChoice::kDepth;
    int32_t days = 0;        // 0..365
    int32_t hours = 0;       // 0..23
    DateTime begin_date = 0; // whole days
    DateTime begin_time = 0; // time of day, 0..1
    DateTime end_date = 0;
    DateTime end_time = 0;
};

struct PeriodFields {
    IntervalFields base;
    bool additional = false; // "Дополнительные параметры"
    int32_t par_number = 0;  // position in the additional parameter list
    IntervalFields adv;
};

// Depths split into days (hours div 24) and hours (hours mod 24), date-times into date and time.
PeriodFields PeriodFromSettings(const settings::TaskSettings& settings);
// Puts the fields back: depth = days * 24 + hours, date-time = date + time of day, the interval
// type 1 when the interval is ticked and 0 otherwise. With the interval ticked, a begin later than
// the end is exchanged with it, in the fields as well.
void PeriodToSettings(PeriodFields& fields, settings::TaskSettings& settings);

// What the enabling rules leave enabled.
struct PeriodEnabling {
    bool base_depth = false;
    bool base_interval = false;
    bool additional_group = false; // the parameter list and both radio buttons
    bool adv_depth = false;
    bool adv_interval = false;
};
PeriodEnabling EnablingOf(const PeriodFields& fields);

// The seven items of "Параметр:".
inline constexpr const char* kAdditionalParameters[] = {
    "Мощность за предыдущие 3 минуты (Код 2)", "Мощность за предыдущие 1 минуту  (Код 4)",
    "Мощность за предыдущие 2 минуты (Код 5)", "Мощность за предыдущие 4 минуты (Код 6)",
    "Мощность за предыдущие 5 минут (Код 7)",  "Мощность за предыдущие 6 минут (Код 8)",
    "Мощность за предыдущие 10 минут (Код 9)",
};

} // namespace tl::dialogs
