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

// The order and the merging of the elements' lines are the list's own, tested with it.
TEST_F(ScheduleTaskTest, IncompleteElementsAreListedInTheLogAndInOneStatusLine) {
    {
        TScheduleTask task(link_, "\\Scripts\\S\\", 1);
        task.Log().Add("первая строка");
        task.AddElementError(100, 0, 7, "Деление на ноль");
        task.AddElementError(100, 0, 5, "Нет данных");
    }
    EXPECT_EQ(FakeHost::StatusLines(),
              (Lines{{"S", "Следующие элементы рассчитаны не полностью: 100.0.5, 100.0.7"}}));
    const std::string expected = "первая строка\r\n"
                                 "\r\n"
                                 "----------------Не рассчитанные объекты-------------------\r\n"
                                 "Элемент: 100.0.5: \r\n"
                                 "\t\t30.12.1899 00:00:00 | Ошибка: Нет данных\r\n"
                                 "Элемент: 100.0.7: \r\n"
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

// A task with a fixed period and one pair of channels, each query answered with an empty set.
class ScheduleTaskRunTest : public TaskSettingsTest {
protected:
    ScheduleTaskRunTest() : TaskSettingsTest("\\Scripts\\Run\\") { AddChannelPair(); }

    // Runs task 7 for `begin` to `end`; the parameter numbers of its interval-data queries, in order.
    std::vector<int32_t> RunWithEmptyAnswers(TScheduleTaskList& list, DateTime begin, DateTime end) {
        Configure(0, begin, end);
        std::vector<int32_t> asked;
        size_t answered = 0;
        RunAnswering(
            list, 7,
            [&](const RecordedQuery& query) -> std::unique_ptr<FakeResultSet> {
                if (query.sql.starts_with("select * from data")) {
                    asked.push_back(query.params.at(0).AsInt32());
                }
                if (answered++ == 0) {
                    return nullptr; // the element states
                }
                return std::make_unique<FakeResultSet>(std::vector<std::string>{"A"},
                                                       std::vector<std::vector<double>>{});
            },
            20);
        return asked;
    }
};

// Fixed periods and their windows are run whole in the scenario tests.
TEST_F(ScheduleTaskRunTest, ABeginAfterTheEndAsksForNothingAndSucceeds) {
    TScheduleTaskList list(link_);
    EXPECT_EQ(RunWithEmptyAnswers(list, At(2015, 1, 1), At(2014, 6, 1)), std::vector<int32_t>{});
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(Completions(), (std::vector<Completion>{{1, 7, 0}}));
    EXPECT_EQ(FakeHost::StatusLines().back().second, "Статус выполнения: Успешный расчёт");
    EXPECT_TRUE(host_.Stored().empty());
}

TEST_F(ScheduleTaskRunTest, TheAdditionalPassComesFirstAndCountsBackFromTheBaseEnd) {
    settings_.WriteBool(section_, "AdvParNumber", true);
    settings_.WriteInteger(section_, "ParNumber", 4);
    settings_.WriteInteger(section_, "DeepAdv", 1);
    TScheduleTaskList list(link_);
    EXPECT_EQ(RunWithEmptyAnswers(list, At(2014, 11, 1), At(2014, 11, 1, 2)),
              (std::vector<int32_t>{7, 12, 18, 26, 36, 46, 56}));
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
