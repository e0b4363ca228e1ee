// What a generated metering database holds and how its task is set up: the network, the span of
// the load model, which days get 30-minute, hourly and 5-minute rows, and the task's period.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldemo/network.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace tl::demo {

// Day numbers are whole days since 30.12.1899; spans are [first, end).
struct SeriesPlan {
    // The load model runs over these days; every complete day, month, quarter and year inside
    // gets its energy row.
    int64_t model_first_day = 0;
    int64_t model_end_day = 0;
    // Days with 30-minute (12) and hourly (18) power rows.
    int64_t fine_first_day = 0;
    int64_t fine_end_day = 0;
    // A day with 5-minute power rows (7).
    std::optional<int64_t> five_minute_day;
};

struct TaskPeriod {
    DateTime begin = 0;
    DateTime end = 0;
    // The additional 5-minute pass from here to the end.
    std::optional<DateTime> five_minute_begin;
};

struct Scenario {
    std::string task_key;
    Network network;
    SeriesPlan plan;
    TaskPeriod period;
};

// Bumped whenever the generated data or the database layout change, so that cached databases are
// made again.
inline constexpr int kGeneratorVersion = 2;

// A substation with a 110 kV and a 10 kV line and a 10 MV*A and a 2.5 MV*A transformer; the
// task runs over two weeks around a new year, so that every pass from the 5-minute one to the
// yearly one finds rows; a discrete input switches the 10 kV line off for some hours and the
// small transformer is under repair for a day.
Scenario DemoScenario();

// `pairs` channel pairs on devices of four pairs each (lines and transformers in turn), and a task
// over `days` days from 1 November; the model covers October too, so that the monthly pass finds
// October's energy.
Scenario BenchScenario(int pairs, int days);

} // namespace tl::demo
