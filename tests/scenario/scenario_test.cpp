// Whole runs of the defined formula: settings and metering data in a SQLite database, the task
// started through the driver's exports by the host service, the stored rows compared with the
// losses worked out by hand.
#include "scenario_support.hpp"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::test {
namespace {

using Lines = std::vector<std::string>;

constexpr int64_t kBit = 0x40000;
constexpr const char* kSuccess = "Статус выполнения: Успешный расчёт";

// Half an hour (T = 0.5) with 60 kW active and 80 kvar reactive: the powers are 0.03 and 0.04 of
// a thousand per hour, the load is at the transformer's rated 100 kV*A.
const double kHalfHourLine = 0.1 * 10 / (10 * 10 * 0.5) * (0.03 * 0.03 + 0.04 * 0.04) * 1000;
const double kHalfHourActive = (1.0 * 2 + 0.5) * 0.5;                             // 1.25
const double kHalfHourReactive = (1.0 / 100 * 100 + 2.0 / 100 * 100 * 1.0) * 0.5; // 1.5

struct Expected {
    int32_t par_number;
    const char* stamp;
    int32_t item;
    double value0;
    double value1;
    int64_t status = 0;
};

void ExpectRows(const std::vector<StoredRow>& rows, const std::vector<Expected>& expected,
                const char* received) {
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(std::to_string(i) + ": " + std::to_string(expected[i].par_number) + " " +
                     expected[i].stamp);
        EXPECT_EQ(rows[i].par_number, expected[i].par_number);
        EXPECT_EQ(rows[i].stamp, expected[i].stamp);
        EXPECT_EQ(rows[i].object, 100);
        EXPECT_EQ(rows[i].type, 0);
        EXPECT_EQ(rows[i].item, expected[i].item);
        EXPECT_NEAR(rows[i].value0, expected[i].value0, 1e-9 * std::max(1.0, std::fabs(expected[i].value0)));
        EXPECT_NEAR(rows[i].value1, expected[i].value1, 1e-9 * std::max(1.0, std::fabs(expected[i].value1)));
        EXPECT_EQ(rows[i].status, expected[i].status);
        if (received != nullptr) {
            EXPECT_EQ(rows[i].received, received);
        }
    }
}

size_t CountLines(const Lines& log, const std::string& line) {
    return static_cast<size_t>(std::count(log.begin(), log.end(), line));
}

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

class ScenarioTest : public ::testing::Test {
protected:
    // The pair 100.0.1 (active) and 100.0.2 (reactive).
    void Pair(const std::string& active = ChannelRecord(1, 2),
              const std::string& reactive = ChannelRecord(3, 1)) {
        site_.Settings().WriteString(Installation::kElements, "100.0.1", active);
        site_.Settings().WriteString(Installation::kElements, "100.0.2", reactive);
    }

    Installation site_;
};

TEST_F(ScenarioTest, AFixedPeriodIsCalculatedPassByPass) {
    site_.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0));
    Pair();
    site_.Settings().WriteString(Installation::kElements, "100.x.5", ChannelRecord(1, 6));
    site_.AddData(12, 100, 1, At(2014, 11, 1, 0, 30), 60);
    site_.AddData(12, 100, 2, At(2014, 11, 1, 0, 30), 80, kBit); // the reactive row's bit is not passed on
    site_.AddData(12, 100, 1, At(2014, 11, 1, 1, 0), 60, kBit);
    site_.AddData(12, 100, 2, At(2014, 11, 1, 1, 0), 80);
    site_.AddData(18, 100, 1, At(2014, 11, 1, 1, 0), 1000);
    site_.AddData(18, 100, 2, At(2014, 11, 1, 1, 0), 0);
    site_.AddData(26, 100, 1, At(2014, 11, 1), 24000); // the day's window collapses to its midnight
    site_.AddData(26, 100, 2, At(2014, 11, 1), 0);
    site_.AddData(18, 100, 1, At(2014, 11, 1, 3, 0), 1000); // after the period

    const RunOutcome outcome = site_.Run();
    EXPECT_EQ(outcome.code, 0);
    EXPECT_TRUE(outcome.extra_completions.empty());
    EXPECT_EQ(site_.Status(),
              (Lines{"Начало работы", "Начало - 01.11.2014 00:00:00, окончание - 01.11.2014 02:00:00 ",
                     "Ошибка при получении списка объектов: 100.x.5",
                     "Общее количество объектов, подлежащих расчету: 2", kSuccess}));

    // Hourly: 1000 kW over an hour is 1 of a thousand: load 0.1 * 10 / 10² * 1² = 0.01, Value0 = 10.
    // Daily: 24000 over 24 hours is 24 per hour.
    const double daily_line = 0.1 * 10 / (10 * 10 * 24.0) * (24.0 * 24.0) * 1000;
    ExpectRows(site_.Results(),
               {
                   {30012, "01.11.2014 00:30:00", 1, kHalfHourLine, kHalfHourActive},
                   {30012, "01.11.2014 00:30:00", 2, kHalfHourLine, kHalfHourReactive},
                   {30012, "01.11.2014 01:00:00", 1, kHalfHourLine, kHalfHourActive, kBit},
                   {30012, "01.11.2014 01:00:00", 2, kHalfHourLine, kHalfHourReactive, kBit},
                   {30018, "01.11.2014 01:00:00", 1, 10.0, (100.0 * 2 + 0.5) * 1},
                   {30018, "01.11.2014 01:00:00", 2, 10.0, (1.0 + 2.0 * 100.0) * 1},
                   {30026, "01.11.2014 00:00:00", 1, daily_line, (57600.0 * 2 + 0.5) * 24},
                   {30026, "01.11.2014 00:00:00", 2, daily_line, (1.0 + 2.0 * 57600.0) * 24},
               },
               "01.11.2014 02:00:00");

    const Lines log = site_.RunLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(CountLines(log, "------------Чтение перечня элементов скрипта-------------------"), 1u);
    EXPECT_EQ(CountLines(log, "+ 100.0.1"), 1u);
    EXPECT_EQ(CountLines(log, "Описание: Не удалось определить код элемента!"), 1u);
    EXPECT_EQ(AskedParameters(log), (std::vector<int32_t>{12, 18, 26, 36, 46, 56}));
    EXPECT_EQ(log.back(), "----------------Не рассчитанные объекты-------------------");
    EXPECT_TRUE(std::filesystem::exists(site_.LibraryDir() / "libtlosses_modi.log"));
}

TEST_F(ScenarioTest, TheAdditionalParameterHasAPassOfItsOwnFromItsBeginToTheBaseEnd) {
    site_.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0));
    site_.Settings().WriteBool(Installation::kSection, "AdvParNumber", true);
    site_.Settings().WriteInteger(Installation::kSection, "ParNumber", 4); // 5-minute power, parameter 7
    site_.Settings().WriteInteger(Installation::kSection, "DeepAdv", 0);
    site_.Settings().WriteInteger(Installation::kSection, "IntervalTypeAdv", 1);
    site_.Settings().WriteDateTime(Installation::kSection, "BeginDateTimeAdv", At(2014, 11, 1, 1, 0));
    site_.Settings().WriteDateTime(Installation::kSection, "EndDateTimeAdv", At(2014, 11, 1, 1, 10));
    Pair();
    for (const DateTime stamp : {At(2014, 11, 1, 1, 0), At(2014, 11, 1, 1, 5), At(2014, 11, 1, 1, 55)}) {
        site_.AddData(7, 100, 1, stamp, 1200);
        site_.AddData(7, 100, 2, stamp, 0);
    }
    site_.AddData(7, 100, 1, At(2014, 11, 1, 0, 55), 1200); // before the additional begin

    EXPECT_EQ(site_.Run().code, 0);
    EXPECT_EQ(site_.Status(),
              (Lines{"Начало работы", "Начало - 01.11.2014 00:00:00, окончание - 01.11.2014 02:00:00 ",
                     "Начало - 01.11.2014 01:00:00, окончание - 01.11.2014 01:10:00 (Доп.)",
                     "Общее количество объектов, подлежащих расчету: 2", kSuccess}));
    // Five minutes (T = 1/12): 1200 kW is 1.2 / 12 = 0.1 of a thousand per hour; S = 1200 kV*A.
    const double t = 5.0 / 60.0;
    const double line = 0.1 * 10 / (10 * 10 * t) * (0.1 * 0.1) * 1000;
    const double active = (144.0 * 2 + 0.5) * t;
    const double reactive = (1.0 + 2.0 * 144.0) * t;
    ExpectRows(site_.Results(),
               {
                   {30007, "01.11.2014 01:00:00", 1, line, active},
                   {30007, "01.11.2014 01:00:00", 2, line, reactive},
                   {30007, "01.11.2014 01:05:00", 1, line, active},
                   {30007, "01.11.2014 01:05:00", 2, line, reactive},
                   {30007, "01.11.2014 01:55:00", 1, line, active},
                   {30007, "01.11.2014 01:55:00", 2, line, reactive},
               },
               "01.11.2014 02:00:00");
    EXPECT_EQ(AskedParameters(site_.RunLog()), (std::vector<int32_t>{7, 12, 18, 26, 36, 46, 56}));
}

TEST_F(ScenarioTest, CollapsedAndEmptyWindows) {
    struct Case {
        const char* name;
        DateTime begin;
        DateTime end;
        std::vector<int32_t> asked;
        std::vector<int32_t> stored;
    } const cases[] = {
        // Half a minute: the half-hour and the hour collapse to 10:00, the day to its midnight.
        {"collapsed",
         At(2014, 11, 1, 10, 5, 10),
         At(2014, 11, 1, 10, 5, 40),
         {12, 18, 26, 36, 46, 56},
         {30012, 30012, 30018, 30018}},
        // A quarter of an hour: no half-hour and no hour boundary lies within it.
        {"empty", At(2014, 11, 1, 10, 5), At(2014, 11, 1, 10, 20), {26, 36, 46, 56}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Installation site;
        site.FixedPeriod(c.begin, c.end);
        site.Settings().WriteString(Installation::kElements, "100.0.1", ChannelRecord(1, 2));
        site.Settings().WriteString(Installation::kElements, "100.0.2", ChannelRecord(3, 1));
        for (const int32_t item : {1, 2}) {
            site.AddData(12, 100, item, At(2014, 11, 1, 10, 0), 60);
            site.AddData(12, 100, item, At(2014, 11, 1, 10, 30), 60);
            site.AddData(18, 100, item, At(2014, 11, 1, 10, 0), 60);
        }
        EXPECT_EQ(site.Run().code, 0);
        std::vector<int32_t> stored;
        for (const StoredRow& row : site.Results()) {
            stored.push_back(row.par_number);
            EXPECT_EQ(row.stamp, "01.11.2014 10:00:00");
        }
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(AskedParameters(site.RunLog()), c.asked);
        EXPECT_EQ(site.Status().back(), kSuccess);
    }
}

TEST_F(ScenarioTest, APeriodCountedBackFromNowCoversEveryHalfHourInIt) {
    site_.FixedPeriod(0, 0);
    site_.Settings().WriteInteger(Installation::kSection, "IntervalType", 0);
    site_.Settings().WriteInteger(Installation::kSection, "DeepBase", 3);
    Pair();
    // Every half-hour from five hours back to one hour ahead.
    DateTime stamp = FromMillis(ToMillis(Now()) / 1'800'000 * 1'800'000) - 5.0 / 24;
    for (int i = 0; i < 12; ++i, stamp = FromMillis(ToMillis(stamp) + 1'800'000)) {
        site_.AddData(12, 100, 1, stamp, 60);
        site_.AddData(12, 100, 2, stamp, 80);
    }
    EXPECT_EQ(site_.Run().code, 0);

    ASSERT_GE(site_.Status().size(), 2u);
    const std::string& period = site_.Status()[1];
    ASSERT_EQ(period.size(),
              std::string("Начало - dd.mm.yyyy hh:nn:ss, окончание - dd.mm.yyyy hh:nn:ss ").size());
    auto parse = [](const std::string& text) {
        DateTimeParts p;
        p.day = std::stoi(text.substr(0, 2));
        p.month = std::stoi(text.substr(3, 2));
        p.year = std::stoi(text.substr(6, 4));
        p.hour = std::stoi(text.substr(11, 2));
        p.minute = std::stoi(text.substr(14, 2));
        p.second = std::stoi(text.substr(17, 2));
        return ToMillis(EncodeDateTime(p));
    };
    const size_t begin_at = std::string("Начало - ").size();
    const size_t end_at = period.find("окончание - ") + std::string("окончание - ").size();
    const int64_t begin = parse(period.substr(begin_at, 19));
    const int64_t end = parse(period.substr(end_at, 19));
    // Three hours back, cut to the second (the end shows its seconds cut too).
    EXPECT_GE(begin - (end - 3 * 3'600'000), 0);
    EXPECT_LE(begin - (end - 3 * 3'600'000), 1'000);

    // The half-hours from the begin (rounded up) to the end (rounded down), two rows each.
    std::vector<std::string> expected;
    for (int64_t t = (begin + 1'799'999) / 1'800'000 * 1'800'000; t <= end; t += 1'800'000) {
        expected.push_back(FormatDateTimeSeconds(FromMillis(t)));
        expected.push_back(FormatDateTimeSeconds(FromMillis(t)));
    }
    std::vector<std::string> stamps;
    for (const StoredRow& row : site_.Results()) {
        EXPECT_EQ(row.par_number, 30012);
        EXPECT_NEAR(row.value0, kHalfHourLine, 1e-12);
        stamps.push_back(row.stamp);
    }
    EXPECT_EQ(stamps, expected);
    EXPECT_GE(expected.size(), 10u);
}

TEST_F(ScenarioTest, APairWithoutItsReactiveRowAtAStampIsSkippedThere) {
    site_.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
    Pair();
    site_.AddData(12, 100, 1, At(2014, 11, 1, 0, 30), 60);
    site_.AddData(12, 100, 2, At(2014, 11, 1, 0, 30), 80);
    site_.AddData(12, 100, 1, At(2014, 11, 1, 1, 0), 60);
    EXPECT_EQ(site_.Run().code, 0);
    const std::string skipped =
        "Пропущен объект: 100.0.2. Штамп: 01.11.2014 01:00:00. Сезон: Лето (Нет значения "
        "активной мощности/энергии)";
    EXPECT_EQ(std::count(site_.Status().begin(), site_.Status().end(), skipped), 1);
    EXPECT_EQ(site_.Status().back(), kSuccess);
    ExpectRows(site_.Results(),
               {
                   {30012, "01.11.2014 00:30:00", 1, kHalfHourLine, kHalfHourActive},
                   {30012, "01.11.2014 00:30:00", 2, kHalfHourLine, kHalfHourReactive},
               },
               nullptr);
}

TEST_F(ScenarioTest, AStateElementInTheSuppressingStateStopsTheCalculationOfItsElement) {
    struct Case {
        const char* name;
        int32_t state_value;
        int32_t object;
        int32_t type;
        int32_t item;
        // Event rows as the event list holds them: code, object, type, item.
        int32_t evcode_before, evitem_before, evcode_within, evitem_within, evtype_object;
    } const cases[] = {
        // A discrete input switched off the day before and on at 00:45.
        {"discrete input", 1, 7, 97, 3, 3002, 3, 3001, 3, 97},
        // A measurement object in state 3 the day before and in state 5 from 00:45; its events come
        // from its state source, carrying the new state code as their item.
        {"measurement object", 5, 8, 95, 0, 4002, 3, 4002, 5, 96},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Installation site;
        site.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
        site.Settings().WriteString(Installation::kElements, "100.0.1",
                                    ChannelRecord(1, 2, c.state_value, c.object, c.type, c.item));
        site.Settings().WriteString(Installation::kElements, "100.0.2", ChannelRecord(3, 1));
        site.AddEvent(c.evcode_before, c.object, c.evtype_object, c.evitem_before, At(2014, 10, 31, 12, 0));
        site.AddEvent(c.evcode_within, c.object, c.evtype_object, c.evitem_within, At(2014, 11, 1, 0, 45));
        for (const DateTime stamp : {At(2014, 11, 1, 0, 30), At(2014, 11, 1, 1, 0)}) {
            site.AddData(12, 100, 1, stamp, 60);
            site.AddData(12, 100, 2, stamp, 80);
        }
        EXPECT_EQ(site.Run().code, 0);
        ExpectRows(site.Results(),
                   {
                       {30012, "01.11.2014 00:30:00", 1, kHalfHourLine, kHalfHourActive},
                       {30012, "01.11.2014 00:30:00", 2, kHalfHourLine, kHalfHourReactive},
                       {30012, "01.11.2014 01:00:00", 1, 0.0, 0.0},
                       {30012, "01.11.2014 01:00:00", 2, kHalfHourLine, kHalfHourReactive},
                   },
                   nullptr);
        EXPECT_EQ(std::count(site.Status().begin(), site.Status().end(),
                             "Отсутствуют состояния ОИ (ДВ) за расчетный период"),
                  0);
    }
}

TEST_F(ScenarioTest, RunsThatEndInStart) {
    struct Case {
        const char* name;
        bool settings;
        int32_t method;
        bool elements;
        int32_t code;
        Lines status;
    } const cases[] = {
        {"no settings",
         false,
         0,
         true,
         2,
         {"Начало работы", "Нет обязательных настроек", "Статус выполнения: Некорректный сценарий"}},
        {"no such method", true, 2, true, 6, {"Начало работы"}},
        {"no elements",
         true,
         0,
         false,
         4,
         {"Начало работы", "Начало - 01.11.2014 00:00:00, окончание - 01.11.2014 02:00:00 ",
          "Статус выполнения: Расчёт не проводился"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Installation site;
        if (c.settings) {
            site.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0));
            site.Settings().WriteInteger(Installation::kSection, "Method", c.method);
        }
        if (c.elements) {
            site.Settings().WriteString(Installation::kElements, "100.0.1", ChannelRecord(1, 2));
            site.Settings().WriteString(Installation::kElements, "100.0.2", ChannelRecord(3, 1));
        }
        site.AddData(12, 100, 1, At(2014, 11, 1, 1, 0), 60);
        const RunOutcome outcome = site.Run();
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.queries, 0);
        EXPECT_EQ(site.Status(), c.status);
        EXPECT_TRUE(site.Results().empty());
        EXPECT_EQ(site.RunLog().back(), "----------------Не рассчитанные объекты-------------------");
    }
}

TEST_F(ScenarioTest, AStopWhileTheTaskWaitsEndsItWith5AndItsLateQueryWith6) {
    site_.FixedPeriod(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0));
    Pair();
    site_.AddData(12, 100, 1, At(2014, 11, 1, 1, 0), 60);
    site_.AddData(12, 100, 2, At(2014, 11, 1, 1, 0), 80);
    const RunOutcome outcome = site_.Run(true);
    EXPECT_EQ(outcome.code, 5);
    EXPECT_EQ(outcome.extra_completions, (std::vector<std::pair<int32_t, int32_t>>{{1, 6}}));
    EXPECT_EQ(outcome.queries, 1);
    EXPECT_EQ(site_.Status().back(), "Статус выполнения: Прервано");
    EXPECT_TRUE(site_.Results().empty());
    const Lines log = site_.RunLog();
    EXPECT_EQ(CountLines(log, "+ 100.0.1"), 1u);
    EXPECT_EQ(log.back(), "----------------Не рассчитанные объекты-------------------");
}

} // namespace
} // namespace tl::test
