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
    // The journal so far, joined, and cleared.
    std::string Journal() {
        std::string out;
        for (const std::string& line : journal_) {
            out += (out.empty() ? "" : " ") + line;
        }
        journal_.clear();
        return out;
    }
    std::vector<int64_t> Codes() {
        std::vector<int64_t> codes;
        for (const Completion& c : Completions()) {
            EXPECT_EQ(c.message, kMessage);
            codes.push_back(c.code);
        }
        return codes;
    }

    std::vector<std::string> journal_;
    std::unique_ptr<TScheduleTaskList> list_;
};

// Task 3 is started (it asks one query), may be stopped, and may get its answer, with or without a
// set; its steps return the code of the case or throw. A step's code other than -1 ends the task
// (code 6 for an exception in Start or HandleData, 5 in Stop); a set that the task did not take
// over is released by the handler, also when it comes after a stop, with a second completion, 6.
TEST_F(TaskListTest, StepsEndTheTaskWithTheirCodes) {
    enum Throws { kNone, kStart, kData, kStop };
    enum Answer { kNoAnswer, kSet, kNoSet };
    struct Case {
        const char* name;
        Throws throws;
        int32_t data_code;
        bool takes_set;
        bool stop;
        Answer answer;
        std::vector<int64_t> codes;
        int released;
        const char* journal;
    } const cases[] = {
        {"ends with a set", kNone, 0, false, false, kSet, {0}, 1, "start data shutdown free"},
        {"ends without a set", kNone, 0, false, false, kNoSet, {0}, 0, "start data(empty) shutdown free"},
        {"waits again", kNone, -1, false, false, kSet, {}, 1, "start data"},
        {"takes the set and waits", kNone, -1, true, false, kSet, {}, 0, "start data"},
        {"takes the set and ends", kNone, 4, true, false, kSet, {4}, 0, "start data shutdown free"},
        {"Start throws", kStart, 0, false, false, kNoAnswer, {6}, 0, "start shutdown free"},
        {"HandleData throws", kData, 0, false, false, kSet, {6}, 1, "start data shutdown free"},
        {"Stop throws", kStop, 0, false, true, kNoAnswer, {5}, 0, "start stop shutdown free"},
        {"stopped, late answer", kNone, 0, false, true, kSet, {5, 6}, 1, "start stop shutdown free"},
    };
    std::vector<std::unique_ptr<FakeResultSet>> sets; // alive to the end: no address is reused
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeResultSet& set = *sets.emplace_back(std::make_unique<FakeResultSet>(
            std::vector<std::string>{"A"}, std::vector<std::vector<double>>{{1}}));
        const auto raise = [](auto&&...) -> int32_t { throw std::runtime_error("boom"); };
        TlResultSet* taken = nullptr;
        ProbeTask& task = AddProbe(3);
        task.on_data = [&](ProbeTask&, TlResultSet** result, bool& release_it) {
            if (c.throws == kData) {
                raise();
            }
            release_it = release_it && !c.takes_set;
            taken = c.takes_set ? *result : nullptr;
            return c.data_code;
        };
        if (c.throws == kStart) {
            task.on_start = raise;
        } else if (c.throws == kStop) {
            task.on_stop = raise;
        }
        const size_t query = host_.Queries().size();
        list_->StartTask(3);
        ASSERT_EQ(host_.Queries().size(), query + (c.throws == kStart ? 0 : 1));
        if (c.stop) {
            list_->StopTask(3);
        }
        if (c.answer != kNoAnswer) {
            EXPECT_EQ(host_.Queries()[query].task_id, 3);
            // A set left to the handler is released and the host's variable emptied.
            EXPECT_EQ(host_.Complete(query, c.answer == kSet ? set.Set() : nullptr), taken);
        }
        EXPECT_EQ(host_.ReleaseCount(set.Set()), c.released);
        EXPECT_EQ(taken, c.takes_set ? set.Set() : nullptr);
        EXPECT_EQ(Codes(), c.codes);
        EXPECT_EQ(list_->IndexOfTask(3), c.codes.empty() ? 0 : -1);
        EXPECT_EQ(Journal(), c.journal);
        list_->Clear();
        journal_.clear();
    }
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
    EXPECT_EQ(Completions(),
              (std::vector<Completion>{{kMessage, 77, 6}, {kMessage, 78, 6}, {kMessage, 79, 6}}));
    EXPECT_TRUE(journal_.empty()); // the task in the list was not touched
}

// A loss-calculation task that notes, when freed, the first line tlosses.log held just before it
// wrote its own.
class LoggedTask : public TScheduleTask {
public:
    LoggedTask(HostLink& link, int32_t id, std::vector<std::string>& journal)
        : TScheduleTask(link, "\\Scripts\\Logged\\", id), journal_(journal) {
        Log().Add("task " + std::to_string(id));
    }
    ~LoggedTask() override {
        const std::string log = ReadFileBytes(Link().RunLogPath());
        journal_.push_back("free " + std::to_string(TaskId()) + " (log: " + log.substr(0, log.find('\r')) +
                           ")");
    }

private:
    std::vector<std::string>& journal_;
};

// As DeInitDriver does it: every task shut down, then the list freed from the last task to the
// first, an empty entry skipped; each loss-calculation task writes its log, none posts a
// completion. A query still running completes later for nobody: released, completion 6.
TEST_F(TaskListTest, DeinitialisingFreesTheTasksFromTheLastWritesTheirLogsAndPostsNothing) {
    AddProbe(1);
    list_->StartTask(1);
    list_->Add(std::make_unique<LoggedTask>(link_, 2, journal_));
    list_->Add(std::make_unique<LoggedTask>(link_, 3, journal_));
    list_->Add(nullptr);
    list_->ShutdownAll();
    list_.reset();
    EXPECT_EQ(link_.TaskList(), nullptr);
    EXPECT_EQ(Journal(), "start shutdown free 3 (log: ) free 2 (log: task 3) shutdown free");
    EXPECT_EQ(ReadFileBytes(link_.RunLogPath()).rfind("task 2\r\n", 0), 0u);
    EXPECT_TRUE(Completions().empty());

    FakeResultSet set({"A"}, {{1}});
    host_.Complete(0, set.Set());
    EXPECT_EQ(host_.ReleaseCount(set.Set()), 1);
    EXPECT_EQ(Completions(), (std::vector<Completion>{{kMessage, 1, 6}}));
}

} // namespace
} // namespace tl::test
