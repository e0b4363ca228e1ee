#include "driver_fixture.hpp"
#include "tlcommon/date_time.hpp"
#include "tlcommon/failure_text.hpp"
#include "tlcommon/text_codec.hpp"
#include "tldriver/schedule_task.hpp"
#include "tldriver/schedule_task_list.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlsettings/svc_config.hpp"

#include <algorithm>
#include <fenv.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tl::test {
namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

using ScheduleTaskTest = LinkedTest;

TEST_F(ScheduleTaskTest, TaskNamesComeFromTheKey) {
    struct Case {
        const char* key;
        const char* scenario;
    } const cases[] = {
        {"\\Scripts\\Потери ПС-1\\", "Потери ПС-1"},
        {"\\Scripts\\Main", "Main"},
        {"C:Scenario\\", "Scenario"},
        {"Plain", "Plain"},
        {"\\Scripts\\Double\\\\", ""}, // only one trailing backslash is removed
    };
    for (const auto& c : cases) {
        const TScheduleTask task(link_, c.key, 1);
        EXPECT_EQ(task.ScenarioName(), c.scenario) << c.key;
        EXPECT_EQ(task.TaskSection(), std::string("\\Scripts\\") + c.scenario + "\\Object\\") << c.key;
        EXPECT_EQ(task.ElementSections(), (std::vector<std::string>{std::string(c.key) + "Devices1\\",
                                                                    std::string(c.key) + "Devices2\\"}));
    }
}

TEST_F(ScheduleTaskTest, IncompleteElementsAreListedInTheLogAndInOneStatusLine) {
    {
        TScheduleTask task(link_, "\\Scripts\\S\\", 1);
        task.Log().Add("первая строка");
        task.AddElementError(100, 0, 7, "Деление на ноль");
        task.AddElementError(100, 0, 5, "Нет данных");
        task.AddElementError(100, 0, 7, "Деление на ноль"); // the same line again
        task.AddElementError(100, 0, 7, "Б");
    }
    EXPECT_EQ(FakeHost::StatusLines(),
              (Lines{{"S", "Следующие элементы рассчитаны не полностью: 100.0.5, 100.0.7"}}));
    const std::string expected = "первая строка\r\n"
                                 "\r\n"
                                 "----------------Не рассчитанные объекты-------------------\r\n"
                                 "Элемент: 100.0.5: \r\n"
                                 "\t\t30.12.1899 00:00:00 | Ошибка: Нет данных\r\n"
                                 "Элемент: 100.0.7: \r\n"
                                 "\t\t30.12.1899 00:00:00 | Ошибка: Б\r\n"
                                 "\t\t30.12.1899 00:00:00 | Ошибка: Деление на ноль\r\n";
    EXPECT_EQ(Cp1251ToUtf8(ReadFileBytes(link_.RunLogPath())), expected);
}

TEST_F(ScheduleTaskTest, LogThatCannotBeWrittenDoesNotKeepTheTaskFromEnding) {
    link_.log_directory = dir_.Path() + "missing/";
    {
        TScheduleTaskList list(link_);
        list.Add(std::make_unique<TScheduleTask>(link_, "\\Scripts\\S\\", 2));
        list.StopTask(2);
        EXPECT_EQ(list.Count(), 0);
    }
    EXPECT_EQ(Completions(), (std::vector<Completion>{{1, 2, 5}}));
    EXPECT_FALSE(FileExists(link_.RunLogPath()));
}

TEST_F(ScheduleTaskTest, TaskRunsWithMaskedFloatingPointExceptionsAndRestoresTheThreadsEnvironment) {
    fesetround(FE_UPWARD);
    feenableexcept(FE_DIVBYZERO | FE_INVALID);
    int inside_round = -1;
    int inside_traps = -1;
    {
        TScheduleTask task(link_, "\\Scripts\\S\\", 1);
        inside_round = fegetround();
        inside_traps = fegetexcept();
        volatile double zero = 0.0;
        volatile double quotient = 1.0 / zero; // would raise SIGFPE with the traps on
        EXPECT_TRUE(quotient > 1e308);
    }
    const int after_round = fegetround();
    const int after_traps = fegetexcept();
    fedisableexcept(FE_ALL_EXCEPT);
    fesetround(FE_TONEAREST);
    EXPECT_EQ(inside_round, FE_TONEAREST);
    EXPECT_EQ(inside_traps, 0);
    EXPECT_EQ(after_round, FE_UPWARD);
    EXPECT_EQ(after_traps, FE_DIVBYZERO | FE_INVALID);
}

TEST_F(ScheduleTaskTest, ASetDeliveredWhenNoQueryIsAwaitedFailsTheStepAndIsReleasedOnce) {
    FakeResultSet set({"A"}, {{1}});
    TlResultSet* variable = set.Set();
    bool release_it = true;
    {
        TScheduleTask task(link_, "\\Scripts\\S\\", 1);
        EXPECT_THROW(task.HandleData(&variable, release_it), LocalizedError);
        EXPECT_FALSE(release_it);
        EXPECT_EQ(variable, nullptr); // the host's variable no longer holds what the task owns
    }
    EXPECT_EQ(host_.ReleaseCount(set.Set()), 1);
    EXPECT_NE(Cp1251ToUtf8(ReadFileBytes(link_.RunLogPath()))
                  .find("\r\nВнутренняя ошибка: Задача не ожидает ответа на запрос (шаг 255)\r\n"),
              std::string::npos);
}

// A task with settings in the process database: a fixed period and one pair of channels.
class ScheduleTaskRunTest : public ScheduleTaskTest {
protected:
    static constexpr const char* kKey = "\\Scripts\\Run\\";
    static constexpr const char* kSection = "\\Scripts\\Run\\Object\\";
    static constexpr const char* kElements = "\\Scripts\\Run\\Devices1\\";

    ScheduleTaskRunTest() {
        auto connection = db::Connection::Open(":memory:");
        db::InitSchema(*connection);
        db::SetProcessConnection(std::move(connection));
        settings_.WriteInteger(kSection, "DeepBase", 0);
        settings_.WriteInteger(kSection, "Method", 0);
        settings_.WriteBool(kSection, "AdvParNumber", false);
        settings_.WriteInteger(kSection, "IntervalType", 1);
        settings_.WriteString(kElements, "100.0.1",
                              "1;1;3;2;0.1;10;0;0;0;10;10;1;700;0.5;2;1;2;100;0;0;0;0;0;;");
        settings_.WriteString(kElements, "100.0.2",
                              "1;3;1;1;0.1;10;0;0;0;10;10;1;700;0.5;2;1;2;100;0;0;0;0;0;;");
    }
    ~ScheduleTaskRunTest() override { db::SetProcessConnection(nullptr); }

    void Period(DateTime begin, DateTime end) {
        settings_.WriteDateTime(kSection, "BeginDateTime", begin);
        settings_.WriteDateTime(kSection, "EndDateTime", end);
    }

    // Starts the task and answers every query with an empty set; the parameter numbers of the
    // interval-data queries, in order.
    std::vector<int32_t> RunWithEmptyAnswers(TScheduleTaskList& list) {
        const size_t first = host_.Queries().size();
        list.Add(std::make_unique<TScheduleTask>(link_, kKey, 7));
        list.StartTask(7);
        std::vector<int32_t> asked;
        FakeResultSet empty({"A"}, {});
        for (size_t i = first; i < host_.Queries().size() && i < first + 20; ++i) {
            const RecordedQuery& query = host_.Queries()[i];
            if (query.sql.starts_with("select * from data")) {
                asked.push_back(query.params.at(0).AsInt32());
            }
            host_.Complete(i, i == first ? nullptr : empty.Set());
        }
        return asked;
    }

    TSvcConfig settings_{"TKEY_SCHEDULE"};
};

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, 0});
}

// Fixed periods and their windows are run whole in the scenario tests.
TEST_F(ScheduleTaskRunTest, ABeginAfterTheEndAsksForNothingAndSucceeds) {
    Period(At(2015, 1, 1), At(2014, 6, 1));
    TScheduleTaskList list(link_);
    EXPECT_EQ(RunWithEmptyAnswers(list), std::vector<int32_t>{});
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(Completions(), (std::vector<Completion>{{1, 7, 0}}));
    EXPECT_EQ(FakeHost::StatusLines().back().second, "Статус выполнения: Успешный расчёт");
    EXPECT_TRUE(host_.Stored().empty());
}

TEST_F(ScheduleTaskRunTest, TheAdditionalPassComesFirstAndCountsBackFromTheBaseEnd) {
    Period(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0));
    settings_.WriteBool(kSection, "AdvParNumber", true);
    settings_.WriteInteger(kSection, "ParNumber", 4);
    settings_.WriteInteger(kSection, "DeepAdv", 1);
    TScheduleTaskList list(link_);
    EXPECT_EQ(RunWithEmptyAnswers(list), (std::vector<int32_t>{7, 12, 18, 26, 36, 46, 56}));
    // :sdt of the 5-minute pass: 10 s before the additional begin, an hour before the base end.
    const auto data =
        std::find_if(host_.Queries().begin(), host_.Queries().end(),
                     [](const RecordedQuery& q) { return q.sql.starts_with("select * from data"); });
    ASSERT_NE(data, host_.Queries().end());
    EXPECT_EQ(FormatStamp(data->params.at(1).AsDouble()), "01.11.2014 00:59:50.000");
    EXPECT_EQ(FormatStamp(data->params.at(2).AsDouble()), "01.11.2014 02:00:00.000");
}

} // namespace
} // namespace tl::test
