#include "driver_test_support.hpp"
#include "fake_host_service.hpp"
#include "probe_task.hpp"
#include "tlcommon/format_settings.hpp"
#include "tldriver/driver_module.hpp"
#include "tlplatform/wm.h"

#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl::test {
namespace {

class DriverModuleTest : public ::testing::Test {
protected:
    DriverModuleTest() { FakeHost::StatusLines().clear(); }
    ~DriverModuleTest() override { WmDestroyQueue(window_); }

    TempDir dir_;
    uint32_t window_ = WmCreateQueue();
    std::vector<std::string> journal_;
    std::deque<FakeHost> hosts_; // outlive the module, which keeps the last one
    std::unique_ptr<DriverModule> module_ =
        std::make_unique<DriverModule>(dir_.Path() + "libtlosses.so", dir_.Path());
};

// A second host answers false for 1, a null address for 3, and a null application object: the
// earlier values stay, but not the earlier host's clock nor its interrupt flag.
TEST_F(DriverModuleTest, InitDriverCopiesTheParametersTheHostSupplies) {
    int application = 0;
    const char* param1 = "\xEF\xE0\xF0\xE0\xEC";
    uint8_t param3 = 7;
    uint32_t param4 = 8;
    uint32_t param5 = 9;
    double clock = 45351.5;                                              // 01.03.2024 12:00
    const char* include_directory = "/srv/\xF1\xEA\xF0\xE8\xEF\xF2\xFB"; // Windows-1251
    int32_t interrupt_flag = 0;
    FakeHost& first = hosts_.emplace_back();
    first.SetStandardParams(11, 12, dir_.Path() + "logs");
    for (const auto& [index, value] :
         std::vector<std::pair<int32_t, void*>>{{TL_PARAM_1, &param1},
                                                {TL_PARAM_3, &param3},
                                                {TL_PARAM_4, &param4},
                                                {TL_PARAM_5, &param5},
                                                {TL_PARAM_APPLICATION, &application},
                                                {TL_PARAM_CLOCK, &clock},
                                                {TL_PARAM_SCRIPT_INCLUDE_DIRECTORY, &include_directory},
                                                {TL_PARAM_INTERRUPT_FLAG, &interrupt_flag}}) {
        first.SetParam(index, value);
    }
    uint32_t new_message = 99;
    FakeHost& second = hosts_.emplace_back();
    second.SetParam(TL_PARAM_3, nullptr);
    second.SetParam(TL_PARAM_COMPLETION_MESSAGE, &new_message);
    second.SetParam(TL_PARAM_APPLICATION, nullptr);

    const HostLink& link = module_->Link();
    EXPECT_EQ(link.RunLogPath(), dir_.Path() + "tlosses.log");
    module_->InitDriver(first.Service());
    EXPECT_EQ(first.AskedParams(), (std::vector<int32_t>{1, 3, 4, 5, 6, 7, 8, 11, 100, 101, 102, 103, 104}));
    EXPECT_EQ(module_->Param3(), 7);
    EXPECT_EQ(link.completion.window, 11u);
    EXPECT_EQ(link.completion.message, 12u);
    EXPECT_EQ(link.status_callback, &FakeHost::StatusCallback);
    EXPECT_EQ(link.RunLogPath(), dir_.Path() + "logs/tlosses.log");
    EXPECT_EQ(link.include_directory, "/srv/скрипты");
    EXPECT_EQ(module_->Application(), &application);
    EXPECT_EQ(module_->StateLog().FileName(), dir_.Path() + "libtlosses_modi.log");
    EXPECT_EQ(first.References(), 1);
    EXPECT_EQ(link.Now(), clock);
    EXPECT_EQ(link.Today(), 45351.0);
    EXPECT_EQ(link.interrupt_flag, &interrupt_flag); // the address, kept

    module_->InitDriver(second.Service());
    EXPECT_EQ(module_->Param3(), 7);
    EXPECT_EQ(link.completion.message, 99u);
    EXPECT_EQ(link.completion.window, 11u);
    EXPECT_EQ(link.status_callback, &FakeHost::StatusCallback);
    EXPECT_EQ(module_->Application(), nullptr); // taken as given, null included
    EXPECT_FALSE(link.clock.has_value());
    EXPECT_EQ(link.interrupt_flag, nullptr);
    EXPECT_EQ(first.References(), 0);
    EXPECT_EQ(second.References(), 1);

    module_->DeInitDriver();
    EXPECT_EQ(module_->Application(), &application);
    EXPECT_EQ(second.References(), 1); // kept until the module is unloaded
    module_.reset();
    EXPECT_EQ(second.References(), 0);
}

TEST_F(DriverModuleTest, TheHostsDecimalSeparatorOverridesTheLocalesWhenItIsOne) {
    struct Case {
        const char* answer;
        char expected;
    } const cases[] = {{",", ','}, {";", '.'}, {",,", '.'}, {"", '.'}, {nullptr, '.'}};
    for (const auto& c : cases) {
        SetSystemDecimalSeparator('.');
        FakeHost& host = hosts_.emplace_back();
        const char* answer = c.answer;
        host.SetParam(TL_PARAM_DECIMAL_SEPARATOR, &answer);
        module_->InitDriver(host.Service());
        EXPECT_EQ(SystemFormat().decimal_separator, c.expected) << (c.answer != nullptr ? c.answer : "null");
    }
    ResetSystemFormat();
}

// A second InitDriver keeps the task list and its tasks, and StartAction refuses a second task
// with the identifier of a running one (code 6 and a status line).
TEST_F(DriverModuleTest, TheTaskListLivesFromTheFirstInitDriverToDeInitDriver) {
    FakeHost& host = hosts_.emplace_back();
    host.SetStandardParams(window_, 5, dir_.Path());
    module_->InitDriver(host.Service());
    TScheduleTaskList* list = module_->TaskList();
    ASSERT_NE(list, nullptr);
    list->Add(std::make_unique<ProbeTask>(module_->Link(), 4, journal_));
    list->StartTask(4);
    module_->InitDriver(host.Service());
    EXPECT_EQ(module_->TaskList(), list);
    module_->StartAction("\\Scripts\\Second\\", 4);
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(list->IndexOfTask(4), 0);
    EXPECT_EQ(TakeCompletions(window_), (std::vector<Completion>{{5, 4, 6}}));
    EXPECT_EQ(FakeHost::StatusLines(),
              (std::vector<std::pair<std::string, std::string>>{
                  {"Second", "Внутренняя ошибка: Задача с идентификатором 4 уже выполняется"}}));
    module_->DeInitDriver();
    EXPECT_EQ(module_->TaskList(), nullptr);
    EXPECT_EQ(journal_, (std::vector<std::string>{"start", "shutdown", "shutdown", "free"}));
}

TEST_F(DriverModuleTest, StartAndStopBeforeInitDriverComplete6) {
    module_->Link().completion = {window_, 3};
    module_->StartAction("\\Scripts\\S\\", 1);
    module_->StopAction(2);
    EXPECT_EQ(TakeCompletions(window_), (std::vector<Completion>{{3, 1, 6}, {3, 2, 6}}));
    EXPECT_FALSE(FileExists(dir_.Path() + "tlosses.log"));
}

} // namespace
} // namespace tl::test
