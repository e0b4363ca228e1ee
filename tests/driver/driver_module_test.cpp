#include "driver_test_support.hpp"
#include "fake_host_service.hpp"
#include "probe_task.hpp"
#include "tlcommon/format_settings.hpp"
#include "tldriver/driver_module.hpp"
#include "tlplatform/wm.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl::test {
namespace {

TEST(DriverModuleTest, InitDriverCopiesTheParametersTheHostSupplies) {
    TempDir dir;
    int application_a = 0;
    const char* param1 = "\xEF\xE0\xF0\xE0\xEC";
    uint8_t param3 = 7;
    uint32_t param4 = 8;
    uint32_t param5 = 9;
    FakeHost first;
    first.SetStandardParams(11, 12, dir.Path() + "logs");
    first.SetParam(TL_PARAM_1, &param1);
    first.SetParam(TL_PARAM_3, &param3);
    first.SetParam(TL_PARAM_4, &param4);
    first.SetParam(TL_PARAM_5, &param5);
    first.SetParam(TL_PARAM_APPLICATION, &application_a);
    double clock = 45351.5; // 01.03.2024 12:00
    first.SetParam(TL_PARAM_CLOCK, &clock);
    const char* include_directory = "/srv/\xF1\xEA\xF0\xE8\xEF\xF2\xFB"; // Windows-1251
    first.SetParam(TL_PARAM_SCRIPT_INCLUDE_DIRECTORY, &include_directory);
    int32_t interrupt_flag = 0;
    first.SetParam(TL_PARAM_INTERRUPT_FLAG, &interrupt_flag);

    // The second host answers false for 1, a null address for 3, and a null application object.
    uint32_t new_message = 99;
    FakeHost second;
    second.SetParam(TL_PARAM_3, nullptr);
    second.SetParam(TL_PARAM_COMPLETION_MESSAGE, &new_message);
    second.SetParam(TL_PARAM_APPLICATION, nullptr);
    {
        DriverModule module(dir.Path() + "libtlosses.so", dir.Path());
        EXPECT_EQ(module.Link().RunLogPath(), dir.Path() + "tlosses.log");
        module.InitDriver(first.Service());
        EXPECT_EQ(first.AskedParams(),
                  (std::vector<int32_t>{1, 3, 4, 5, 6, 7, 8, 11, 100, 101, 102, 103, 104}));
        EXPECT_EQ(module.Param1(), param1);
        EXPECT_EQ(module.Param3(), 7);
        EXPECT_EQ(module.Param4(), 8u);
        EXPECT_EQ(module.Param5(), 9u);
        EXPECT_EQ(module.Link().completion.window, 11u);
        EXPECT_EQ(module.Link().completion.message, 12u);
        EXPECT_EQ(module.Link().status_callback, &FakeHost::StatusCallback);
        EXPECT_EQ(module.Link().RunLogPath(), dir.Path() + "logs/tlosses.log");
        EXPECT_EQ(module.Link().include_directory, "/srv/скрипты");
        EXPECT_EQ(module.Application(), &application_a);
        EXPECT_EQ(module.StateLog().FileName(), dir.Path() + "libtlosses_modi.log");
        EXPECT_EQ(first.References(), 1);
        EXPECT_EQ(module.Link().Now(), clock);
        EXPECT_EQ(module.Link().Today(), 45351.0);
        EXPECT_EQ(module.Link().interrupt_flag, &interrupt_flag); // the address, kept

        module.InitDriver(second.Service());
        EXPECT_EQ(module.Param1(), param1);
        EXPECT_EQ(module.Param3(), 7);
        EXPECT_EQ(module.Link().completion.message, 99u);
        EXPECT_EQ(module.Link().completion.window, 11u);
        EXPECT_EQ(module.Link().status_callback, &FakeHost::StatusCallback);
        EXPECT_EQ(module.Application(), nullptr);         // taken as given, null included
        EXPECT_FALSE(module.Link().clock.has_value());    // no earlier host's clock
        EXPECT_EQ(module.Link().interrupt_flag, nullptr); // nor its flag
        EXPECT_EQ(first.References(), 0);
        EXPECT_EQ(second.References(), 1);

        module.DeInitDriver();
        EXPECT_EQ(module.Application(), &application_a);
        EXPECT_EQ(second.References(), 1); // kept until the module is unloaded
    }
    EXPECT_EQ(second.References(), 0);
}

TEST(DriverModuleTest, TheHostsDecimalSeparatorOverridesTheLocalesWhenItIsOne) {
    struct Case {
        const char* answer;
        char expected;
    } const cases[] = {{",", ','}, {".", '.'}, {";", '.'}, {",,", '.'}, {"", '.'}, {nullptr, '.'}};
    for (const auto& c : cases) {
        SetSystemDecimalSeparator('.');
        TempDir dir;
        FakeHost host;
        const char* answer = c.answer;
        host.SetParam(TL_PARAM_DECIMAL_SEPARATOR, &answer);
        DriverModule module(dir.Path() + "libtlosses.so", dir.Path());
        module.InitDriver(host.Service());
        EXPECT_EQ(SystemFormat().decimal_separator, c.expected) << (c.answer != nullptr ? c.answer : "null");
    }
    ResetSystemFormat();
}

TEST(DriverModuleTest, SecondInitDriverKeepsTheTaskListAndItsTasks) {
    TempDir dir;
    FakeHost host;
    std::vector<std::string> journal;
    DriverModule module(dir.Path() + "libtlosses.so", dir.Path());
    module.InitDriver(host.Service());
    TScheduleTaskList* list = module.TaskList();
    ASSERT_NE(list, nullptr);
    list->Add(std::make_unique<ProbeTask>(module.Link(), 4, journal));
    list->StartTask(4);
    module.InitDriver(host.Service());
    EXPECT_EQ(module.TaskList(), list);
    EXPECT_EQ(list->IndexOfTask(4), 0);
    module.DeInitDriver();
    EXPECT_EQ(module.TaskList(), nullptr);
    EXPECT_EQ(journal, (std::vector<std::string>{"start", "shutdown", "shutdown", "free"}));
}

TEST(DriverModuleTest, StartActionRefusesASecondTaskWithARunningIdentifier) {
    TempDir dir;
    FakeHost host;
    const uint32_t window = WmCreateQueue();
    host.SetStandardParams(window, 5, dir.Path());
    FakeHost::StatusLines().clear();
    std::vector<std::string> journal;
    {
        DriverModule module(dir.Path() + "libtlosses.so", dir.Path());
        module.InitDriver(host.Service());
        module.TaskList()->Add(std::make_unique<ProbeTask>(module.Link(), 4, journal));
        module.TaskList()->StartTask(4);
        module.StartAction("\\Scripts\\Second\\", 4);
        EXPECT_EQ(module.TaskList()->Count(), 1);
        EXPECT_EQ(TakeCompletions(window), (std::vector<Completion>{{5, 4, 6}}));
        ASSERT_EQ(FakeHost::StatusLines().size(), 1u);
        EXPECT_EQ(FakeHost::StatusLines()[0],
                  (std::pair<std::string, std::string>{
                      "Second", "Внутренняя ошибка: Задача с идентификатором 4 уже выполняется"}));
        module.DeInitDriver();
    }
    WmDestroyQueue(window);
}

TEST(DriverModuleTest, StartAndStopBeforeInitDriverComplete6) {
    TempDir dir;
    const uint32_t window = WmCreateQueue();
    DriverModule module(dir.Path() + "libtlosses.so", dir.Path());
    module.Link().completion = {window, 3};
    module.StartAction("\\Scripts\\S\\", 1);
    module.StopAction(2);
    EXPECT_EQ(TakeCompletions(window), (std::vector<Completion>{{3, 1, 6}, {3, 2, 6}}));
    EXPECT_FALSE(FileExists(dir.Path() + "tlosses.log"));
    WmDestroyQueue(window);
}

} // namespace
} // namespace tl::test
