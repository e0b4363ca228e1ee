// Whole runs of the defined formula: settings and metering data in a SQLite database, the task
// started through the driver's exports by the host service, the stored rows compared with the
// losses worked out by hand.
#include "scenario_support.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace tl::test {
namespace {

// Half an hour (T = 0.5) with 60 kW active and 80 kvar reactive: the powers are 0.03 and 0.04 of
// a thousand per hour, the load is at the transformer's rated 100 kV*A.
const double kHalfHourLine = 0.1 * 10 / (10 * 10 * 0.5) * (0.03 * 0.03 + 0.04 * 0.04) * 1000;
const double kHalfHourActive = (1.0 * 2 + 0.5) * 0.5;                             // 1.25
const double kHalfHourReactive = (1.0 / 100 * 100 + 2.0 / 100 * 100 * 1.0) * 0.5; // 1.5
const char* const kPeriod = "Начало - 01.11.2014 00:00:00, окончание - 01.11.2014 02:00:00 ";

// The parameter numbers the run asked interval data for, from the run log.
std::vector<int32_t> AskedParameters(const Lines& log) {
    std::vector<int32_t> asked;
    for (size_t i = 0; i + 1 < log.size(); ++i) {
        if (log[i] == "Параметры:" && log[i + 1].size() > 1 && log[i + 1][0] == '\t' &&
            log[i + 1].find('.') == std::string::npos) {
            asked.push_back(std::stoi(log[i + 1].substr(1)));
        }
    }
    return asked;
}

// The pair 100.0.1 (active) and 100.0.2 (reactive).
void Pair(Installation& site, const std::string& active = ChannelRecord(1, 2)) {
    site.Element("100.0.1", active);
    site.Element("100.0.2", ChannelRecord(3, 1));
}

void PairRows(Installation& site, int32_t par_number, DateTime stamp, double active, double reactive) {
    site.AddRow(par_number, "100.0.1", stamp, active);
    site.AddRow(par_number, "100.0.2", stamp, reactive);
}

TEST(ScenarioTest, AFixedPeriodIsCalculatedPassByPass) {
    Installation site;
    site.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0));
    Pair(site);
    site.AddRow(12, "100.0.1", At(2014, 11, 1, 0, 30), 60);
    site.AddRow(12, "100.0.2", At(2014, 11, 1, 0, 30), 80, kBit); // the reactive row's bit is not passed on
    site.AddRow(12, "100.0.1", At(2014, 11, 1, 1, 0), 60, kBit);
    site.AddRow(12, "100.0.2", At(2014, 11, 1, 1, 0), 80);
    PairRows(site, 18, At(2014, 11, 1, 1, 0), 1000, 0);
    PairRows(site, 26, At(2014, 11, 1), 24000, 0);           // the day's window collapses to its midnight
    site.AddRow(18, "100.0.1", At(2014, 11, 1, 3, 0), 1000); // after the period

    const RunOutcome outcome = site.Run();
    EXPECT_EQ(outcome.code, 0);
    EXPECT_TRUE(outcome.extra_completions.empty());
    EXPECT_EQ(site.Status(), (Lines{"Начало работы", kPeriod,
                                    "Общее количество объектов, подлежащих расчету: 2", kSuccess}));

    // Hourly: 1000 kW over an hour is 1 of a thousand: load 0.1 * 10 / 10² * 1² = 0.01, Value0 = 10.
    // Daily: 24000 over 24 hours is 24 per hour.
    const double daily_line = 0.1 * 10 / (10 * 10 * 24.0) * (24.0 * 24.0) * 1000;
    ExpectRows(site.Results(),
               {
                   {30012, "01.11.2014 00:30:00", "100.0.1", kHalfHourLine, kHalfHourActive},
                   {30012, "01.11.2014 00:30:00", "100.0.2", kHalfHourLine, kHalfHourReactive},
                   {30012, "01.11.2014 01:00:00", "100.0.1", kHalfHourLine, kHalfHourActive, kBit},
                   {30012, "01.11.2014 01:00:00", "100.0.2", kHalfHourLine, kHalfHourReactive, kBit},
                   {30018, "01.11.2014 01:00:00", "100.0.1", 10.0, (100.0 * 2 + 0.5) * 1},
                   {30018, "01.11.2014 01:00:00", "100.0.2", 10.0, (1.0 + 2.0 * 100.0) * 1},
                   {30026, "01.11.2014 00:00:00", "100.0.1", daily_line, (57600.0 * 2 + 0.5) * 24},
                   {30026, "01.11.2014 00:00:00", "100.0.2", daily_line, (1.0 + 2.0 * 57600.0) * 24},
               },
               "01.11.2014 02:00:00");

    EXPECT_EQ(site.RunLog().back(), kClosingBanner);
    EXPECT_TRUE(std::filesystem::exists(site.LibraryDir() / "libtlosses_modi.log"));
}

// Which passes a period asks for and the stamps it stores rows at (of 100.0.1, as
// "parameter hh:mm"). Rows of parameter 12 at 00:00, 00:30, 03:00, 03:30, 10:00 and 10:30, of 18
// at 10:00 and of 7 (5-minute power) at 00:55, 01:00 and 01:55 of 01.11.2014.
TEST(ScenarioTest, PeriodsAskForTheirPassesAndStoreAtTheirStamps) {
    const std::vector<int32_t> base = {12, 18, 26, 36, 46, 56};
    // From 00:00 to 02:00 with the additional parameter `index` from 01:00 to 01:10.
    const auto additional = [](int32_t index) {
        return [index](Installation& site) {
            site.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0));
            site.Settings().WriteBool(Installation::kSection, "AdvParNumber", true);
            site.Settings().WriteInteger(Installation::kSection, "ParNumber", index);
            site.Settings().WriteInteger(Installation::kSection, "DeepAdv", 0);
            site.Settings().WriteInteger(Installation::kSection, "IntervalTypeAdv", 1);
            site.Settings().WriteDateTime(Installation::kSection, "BeginDateTimeAdv", At(2014, 11, 1, 1, 0));
            site.Settings().WriteDateTime(Installation::kSection, "EndDateTimeAdv", At(2014, 11, 1, 1, 10));
        };
    };
    struct Case {
        const char* name;
        std::function<void(Installation&)> period;
        std::vector<int32_t> asked;
        Lines stored;
    } const cases[] = {
        // Half a minute: the half-hour and the hour collapse to 10:00, the day to its midnight.
        {"collapsed",
         [](Installation& site) { site.FixedPeriod(At(2014, 11, 1, 10, 5, 10), At(2014, 11, 1, 10, 5, 40)); },
         base,
         {"30012 10:00", "30018 10:00"}},
        // A quarter of an hour: no half-hour and no hour boundary lies within it.
        {"empty",
         [](Installation& site) { site.FixedPeriod(At(2014, 11, 1, 10, 5), At(2014, 11, 1, 10, 20)); },
         {26, 36, 46, 56},
         {}},
        // Three hours back from the host's clock: the half-hours from the begin (rounded up) to the end.
        {"counted back from now",
         [](Installation& site) {
             site.FixedPeriod(0, 0);
             site.Settings().WriteInteger(Installation::kSection, "IntervalType", 0);
             site.Settings().WriteInteger(Installation::kSection, "DeepBase", 3);
             site.Clock(At(2014, 11, 1, 3, 10, 20));
         },
         base,
         {"30012 00:30", "30012 03:00"}},
        // The additional pass comes first, from its own begin to the base end.
        {"additional 5-minute power",
         additional(4),
         {7, 12, 18, 26, 36, 46, 56},
         {"30007 01:00", "30007 01:55", "30012 00:00", "30012 00:30"}},
        // Index 7 is the 30-minute power itself: passes 7..12 run once each.
        {"additional half-hour power", additional(7), base, {"30012 00:00", "30012 00:30"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Installation site;
        c.period(site);
        Pair(site);
        for (const auto& [hour, minute] : {std::pair{0, 0}, {0, 30}, {3, 0}, {3, 30}, {10, 0}, {10, 30}}) {
            PairRows(site, 12, At(2014, 11, 1, hour, minute), 60, 80);
        }
        PairRows(site, 18, At(2014, 11, 1, 10, 0), 60, 80);
        for (const auto& [hour, minute] : {std::pair{0, 55}, {1, 0}, {1, 55}}) {
            PairRows(site, 7, At(2014, 11, 1, hour, minute), 1200, 0);
        }
        EXPECT_EQ(site.Run().code, 0);
        Lines stored;
        for (const StoredRow& row : site.Results()) {
            if (row.element == "100.0.1") {
                stored.push_back(std::to_string(row.par_number) + " " + row.stamp.substr(11, 5));
            }
        }
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(AskedParameters(site.RunLog()), c.asked);
    }
}

// The active channel is not calculated while discrete input 7.97.3 is on (state 1): it was
// switched off the day before and on at 00:45. Its states are read as the state container's tests
// read them for every kind of element. Without events the state stays unknown, which a status
// line says, and nothing is suppressed.
TEST(ScenarioTest, AStateElementInTheSuppressingStateStopsTheCalculationOfItsElement) {
    for (const bool events : {true, false}) {
        SCOPED_TRACE(events);
        Installation site;
        site.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
        Pair(site, ChannelRecord(1, 2, 1, 7, 97, 3));
        if (events) {
            site.AddEvent(3002, 7, 97, 3, At(2014, 10, 31, 12, 0));
            site.AddEvent(3001, 7, 97, 3, At(2014, 11, 1, 0, 45));
        }
        PairRows(site, 12, At(2014, 11, 1, 0, 30), 60, 80);
        PairRows(site, 12, At(2014, 11, 1, 1, 0), 60, 80);
        EXPECT_EQ(site.Run().code, 0);
        ExpectRows(site.Results(),
                   {
                       {30012, "01.11.2014 00:30:00", "100.0.1", kHalfHourLine, kHalfHourActive},
                       {30012, "01.11.2014 00:30:00", "100.0.2", kHalfHourLine, kHalfHourReactive},
                       {30012, "01.11.2014 01:00:00", "100.0.1", events ? 0.0 : kHalfHourLine,
                        events ? 0.0 : kHalfHourActive},
                       {30012, "01.11.2014 01:00:00", "100.0.2", kHalfHourLine, kHalfHourReactive},
                   });
        EXPECT_EQ(CountLines(site.Status(), "Отсутствуют состояния ОИ (ДВ) за расчетный период"),
                  events ? 0u : 1u);
    }
}

// Runs that end before asking anything, and a stop while the first query is awaited: the task
// ends with 5 at once and its late query is answered with 6.
TEST(ScenarioTest, RunsThatEndInStartOrAreStopped) {
    // What the run is given, and how it ends.
    struct Shape {
        bool settings;
        int32_t method;
        bool elements;
        bool stop;
        int32_t code;
        int64_t queries;
    };
    const std::tuple<const char*, Shape, Lines> cases[] = {
        {"no settings",
         {false, 0, true, false, 2, 0},
         {"Начало работы", "Нет обязательных настроек", "Статус выполнения: Некорректный сценарий"}},
        {"no such method", {true, 2, true, false, 6, 0}, {"Начало работы"}},
        {"no elements",
         {true, 0, false, false, 4, 0},
         {"Начало работы", kPeriod, "Статус выполнения: Расчёт не проводился"}},
        {"stopped",
         {true, 0, true, true, 5, 1},
         {"Начало работы", kPeriod, "Общее количество объектов, подлежащих расчету: 2",
          "Статус выполнения: Прервано"}},
    };
    for (const auto& [name, setup, status] : cases) {
        SCOPED_TRACE(name);
        Installation site;
        if (setup.settings) {
            site.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0));
            site.Settings().WriteInteger(Installation::kSection, "Method", setup.method);
        }
        if (setup.elements) {
            Pair(site);
        }
        PairRows(site, 12, At(2014, 11, 1, 1, 0), 60, 80);
        const RunOutcome outcome = site.Run(setup.stop);
        EXPECT_EQ(outcome.code, setup.code);
        EXPECT_EQ(outcome.queries, setup.queries);
        EXPECT_EQ(outcome.extra_completions, (setup.stop ? std::vector<std::pair<int32_t, int32_t>>{{1, 6}}
                                                         : std::vector<std::pair<int32_t, int32_t>>{}));
        EXPECT_EQ(site.Status(), status);
        EXPECT_TRUE(site.Results().empty());
        const Lines log = site.RunLog();
        EXPECT_EQ(CountLines(log, "+ 100.0.1"), setup.stop ? 1u : 0u);
        EXPECT_EQ(log.back(), kClosingBanner);
    }
}

} // namespace
} // namespace tl::test
