#include "driver_fixture.hpp"
#include "probe_task.hpp"
#include "tldriver/schedule_task.hpp"
#include "tldriver/schedule_task_list.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tl::test {
namespace {

constexpr uint32_t kMessage = 0x8123;

class TaskListTest : public LinkedTest {
protected:
    TaskListTest() : LinkedTest(kMessage), list_(std::make_unique<TScheduleTaskList>(link_)) {}

    ProbeTask& AddProbe(int32_t id) {
        auto task = std::make_unique<ProbeTask>(link_, id, journal_);
        ProbeTask& ref = *task;
        list_->Add(std::move(task));
        return ref;
    }
    static Completion Done(int64_t id, int64_t code) { return Completion{kMessage, id, code}; }

    std::vector<std::string> journal_;
    std::unique_ptr<TScheduleTaskList> list_;
};

TEST_F(TaskListTest, AWaitingTaskGetsItsAnswerWithOrWithoutASetAndEndsWithItsCode) {
    FakeResultSet set({"A"}, {{1}});
    for (const bool with_set : {true, false}) {
        SCOPED_TRACE(with_set);
        AddProbe(5);
        list_->StartTask(5);
        const size_t query = host_.Queries().size() - 1;
        EXPECT_EQ(host_.Queries()[query].task_id, 5);
        EXPECT_TRUE(Completions().empty()); // still waiting
        EXPECT_EQ(list_->IndexOfTask(5), 0);

        EXPECT_EQ(host_.Complete(query, with_set ? set.Set() : nullptr), nullptr);
        EXPECT_EQ(journal_, (std::vector<std::string>{"start 5", with_set ? "data 5" : "data(empty) 5",
                                                      "shutdown 5", "free 5"}));
        // The task left the set to the handler; no set, nothing to release.
        EXPECT_EQ(host_.Released(), std::vector<TlResultSet*>(1, set.Set()));
        EXPECT_EQ(Completions(), std::vector<Completion>{Done(5, 0)});
        EXPECT_EQ(list_->Count(), 0);
        journal_.clear();
    }
}

TEST_F(TaskListTest, HandleDataCodesDecideWhetherTheTaskEnds) {
    struct Case {
        int32_t code;
        bool takes_set;
        bool ends;
    } const cases[] = {
        {kResultWaiting, false, false},    {kResultSuccess, false, true}, {kResultNotCalculated, true, true},
        {kResultBadScenario, false, true}, {kResultWaiting, true, false},
    };
    std::vector<std::unique_ptr<FakeResultSet>> sets; // alive to the end: no address is reused
    for (const auto& c : cases) {
        FakeResultSet& set = *sets.emplace_back(std::make_unique<FakeResultSet>(
            std::vector<std::string>{"A"}, std::vector<std::vector<double>>{{1}}));
        TlResultSet* taken = nullptr;
        ProbeTask& task = AddProbe(3);
        task.on_data = [&](ProbeTask&, TlResultSet** result, bool& release_it) {
            if (c.takes_set) {
                release_it = false;
                taken = *result;
            }
            return c.code;
        };
        list_->StartTask(3);
        const size_t query = host_.Queries().size() - 1;
        host_.Complete(query, set.Set());
        EXPECT_EQ(host_.ReleaseCount(set.Set()), c.takes_set ? 0 : 1) << c.code;
        EXPECT_EQ(taken, c.takes_set ? set.Set() : nullptr);
        EXPECT_EQ(list_->IndexOfTask(3) >= 0, !c.ends) << c.code;
        EXPECT_EQ(Completions(),
                  c.ends ? std::vector<Completion>{Done(3, c.code)} : std::vector<Completion>{});
        list_->Clear();
        journal_.clear();
    }
}

TEST_F(TaskListTest, ExceptionsInStepsEndTheTaskWithTheirCodes) {
    enum class Step { kStart, kData, kStop };
    struct Case {
        Step step;
        int64_t code;
    } const cases[] = {{Step::kStart, 6}, {Step::kData, 6}, {Step::kStop, 5}};
    std::vector<std::unique_ptr<FakeResultSet>> sets;
    for (const auto& c : cases) {
        FakeResultSet& set = *sets.emplace_back(std::make_unique<FakeResultSet>(
            std::vector<std::string>{"A"}, std::vector<std::vector<double>>{{1}}));
        ProbeTask& task = AddProbe(9);
        const auto raise = [](auto&&...) -> int32_t { throw std::runtime_error("boom"); };
        if (c.step == Step::kStart) {
            task.on_start = raise;
        } else if (c.step == Step::kData) {
            task.on_data = raise;
        } else {
            task.on_stop = raise;
        }
        list_->StartTask(9);
        if (c.step == Step::kData) {
            host_.Complete(host_.Queries().size() - 1, set.Set());
            EXPECT_EQ(host_.ReleaseCount(set.Set()), 1); // not taken over: the handler releases it
        }
        if (c.step == Step::kStop) {
            list_->StopTask(9);
        }
        EXPECT_EQ(Completions(), std::vector<Completion>{Done(9, c.code)}) << int(c.step);
        EXPECT_EQ(list_->Count(), 0);
        EXPECT_EQ(journal_.back(), "free 9");
        journal_.clear();
    }
}

TEST_F(TaskListTest, StopEndsAWaitingTaskAndItsLateAnswerIsReleased) {
    AddProbe(4);
    list_->StartTask(4);
    list_->StopTask(4);
    EXPECT_EQ(Completions(), std::vector<Completion>{Done(4, 5)});
    EXPECT_EQ(journal_, (std::vector<std::string>{"start 4", "stop 4", "shutdown 4", "free 4"}));

    // The host still runs the query and answers for an identifier nobody has any more.
    FakeResultSet set({"A"}, {{1}});
    EXPECT_EQ(host_.Complete(0, set.Set()), nullptr);
    EXPECT_EQ(host_.ReleaseCount(set.Set()), 1);
    EXPECT_EQ(Completions(), std::vector<Completion>{Done(4, 6)});
}

TEST_F(TaskListTest, UnknownIdentifiersGetCompletion6) {
    AddProbe(1);
    list_->StopTask(77);
    list_->StartTask(78);
    FakeResultSet set({"A"}, {{1}});
    TlResultSet* variable = set.Set();
    TScheduleTaskList::DataReadyHandler(&link_, 79, &variable);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(host_.ReleaseCount(set.Set()), 1);
    EXPECT_EQ(Completions(), (std::vector<Completion>{Done(77, 6), Done(78, 6), Done(79, 6)}));
    EXPECT_TRUE(journal_.empty()); // the task in the list was not touched
}

TEST_F(TaskListTest, AnswerAfterTheListIsGoneIsReleasedAndCompleted) {
    AddProbe(2);
    list_->StartTask(2);
    list_->ShutdownAll();
    list_.reset();
    EXPECT_EQ(link_.TaskList(), nullptr);
    EXPECT_TRUE(Completions().empty()); // tasks freed with the list post nothing

    FakeResultSet set({"A"}, {{1}});
    host_.Complete(0, set.Set());
    EXPECT_EQ(host_.ReleaseCount(set.Set()), 1);
    EXPECT_EQ(Completions(), std::vector<Completion>{Done(2, 6)});
}

TEST_F(TaskListTest, ListIsFreedFromTheLastTaskToTheFirst) {
    AddProbe(1);
    AddProbe(2);
    AddProbe(3);
    list_->Add(nullptr); // an empty entry is skipped, not dereferenced
    list_.reset();
    EXPECT_EQ(journal_, (std::vector<std::string>{"shutdown 3", "free 3", "shutdown 2", "free 2",
                                                  "shutdown 1", "free 1"}));
}

// A loss-calculation task that reports, when freed, what tlosses.log held just before it wrote
// its own.
class LoggedTask : public TScheduleTask {
public:
    LoggedTask(HostLink& link, int32_t id, std::vector<std::string>& seen)
        : TScheduleTask(link, "\\Scripts\\Logged\\", id), link_(link), seen_(seen) {
        Log().Add("task " + std::to_string(id));
    }
    ~LoggedTask() override { seen_.push_back(ReadFileBytes(link_.RunLogPath())); }

private:
    HostLink& link_;
    std::vector<std::string>& seen_;
};

TEST_F(TaskListTest, DeinitialisingWithTwoRunningTasksFreesBothAndWritesBothLogs) {
    std::vector<std::string> seen;
    list_->Add(std::make_unique<LoggedTask>(link_, 1, seen));
    list_->Add(std::make_unique<LoggedTask>(link_, 2, seen));
    list_->ShutdownAll();
    list_.reset();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "");                        // task 2 is freed first: no log yet
    EXPECT_EQ(seen[1].rfind("task 2\r\n", 0), 0u); // task 1 finds the log of task 2
    EXPECT_EQ(ReadFileBytes(link_.RunLogPath()).rfind("task 1\r\n", 0), 0u);
    EXPECT_TRUE(Completions().empty());
}

} // namespace
} // namespace tl::test
