#include "driver_test_support.hpp"
#include "fake_host_service.hpp"
#include "tlcommon/text_codec.hpp"
#include "tldata/element_state_log.hpp"
#include "tldriver/schedule_task.hpp"
#include "tldriver/schedule_task_list.hpp"
#include "tlplatform/wm.h"

#include <fenv.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl::test {
namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

class ScheduleTaskTest : public ::testing::Test {
protected:
    ScheduleTaskTest() : state_log_(dir_.Path() + "driver_modi.log") {
        FakeHost::StatusLines().clear();
        window_ = WmCreateQueue();
        link_.service.Reset(host_.Service());
        link_.status_callback = &FakeHost::StatusCallback;
        link_.completion = {window_, 1};
        link_.log_directory = dir_.Path();
        link_.state_log = &state_log_;
    }
    ~ScheduleTaskTest() override { WmDestroyQueue(window_); }

    TempDir dir_;
    FakeHost host_;
    ElementStateLog state_log_;
    HostLink link_;
    uint32_t window_ = 0;
};

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

TEST_F(ScheduleTaskTest, RunWithoutSettingsEndsInStartWithCode2) {
    {
        TScheduleTaskList list(link_);
        list.Add(std::make_unique<TScheduleTask>(link_, "\\Scripts\\ПС Южная\\", 31));
        list.StartTask(31);
        EXPECT_EQ(list.Count(), 0);
    }
    EXPECT_EQ(FakeHost::StatusLines(), (Lines{{"ПС Южная", "Начало работы"},
                                              {"ПС Южная", "Нет обязательных настроек"},
                                              {"ПС Южная", "Статус выполнения: Некорректный сценарий"}}));
    EXPECT_TRUE(host_.Queries().empty());
    EXPECT_EQ(TakeCompletions(window_), (std::vector<Completion>{{1, 31, 2}}));
    EXPECT_TRUE(FileExists(link_.RunLogPath()));
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
    EXPECT_EQ(TakeCompletions(window_), (std::vector<Completion>{{1, 2, 5}}));
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

TEST_F(ScheduleTaskTest, TaskTakesADeliveredSetOverAndReleasesItOnce) {
    FakeResultSet set({"A"}, {{1}});
    TlResultSet* variable = set.Set();
    bool release_it = true;
    {
        TScheduleTask task(link_, "\\Scripts\\S\\", 1);
        task.HandleData(&variable, release_it);
    }
    EXPECT_FALSE(release_it);
    EXPECT_EQ(variable, nullptr); // the host's variable no longer holds what the task owns
    EXPECT_EQ(host_.ReleaseCount(set.Set()), 1);
}

} // namespace
} // namespace tl::test
