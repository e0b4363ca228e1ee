// The loss-calculation task apart from its run (task_run_test.cpp, where its incomplete elements
// reach the log and a status line): its names, its log, its floating-point environment and a set
// it did not ask for.
#include "driver_fixture.hpp"
#include "tlcommon/failure_text.hpp"

#include <fenv.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl::test {
namespace {

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
    EXPECT_NE(RunLog().find("\r\nВнутренняя ошибка: Задача не ожидает ответа на запрос (шаг 255)\r\n"),
              std::string::npos);
}

} // namespace
} // namespace tl::test
