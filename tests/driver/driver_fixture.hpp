// A fixture whose tasks talk to a fake host: completions to a queue of the test's own, status
// lines to the fake's callback, run logs and the element-state log to a scratch directory.
#pragma once

#include "driver_test_support.hpp"
#include "fake_host_service.hpp"
#include "tlcommon/text_codec.hpp"
#include "tldata/element_state_log.hpp"
#include "tldriver/host_link.hpp"
#include "tldriver/schedule_task.hpp"
#include "tldriver/schedule_task_list.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlplatform/wm.h"
#include "tlsettings/svc_config.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl::test {

class LinkedTest : public ::testing::Test {
protected:
    explicit LinkedTest(uint32_t message = 1) : state_log_(dir_.Path() + "driver_modi.log") {
        FakeHost::StatusLines().clear();
        link_.service.Reset(host_.Service());
        link_.status_callback = &FakeHost::StatusCallback;
        link_.completion = {window_, message};
        link_.log_directory = dir_.Path();
        link_.state_log = &state_log_;
    }
    ~LinkedTest() override { WmDestroyQueue(window_); }
    std::vector<Completion> Completions() { return TakeCompletions(window_); }
    std::string RunLog() const { return Cp1251ToUtf8(ReadFileBytes(link_.RunLogPath())); }

    TempDir dir_;
    FakeHost host_;
    ElementStateLog state_log_;
    HostLink link_;
    uint32_t window_ = WmCreateQueue();
};

// A task whose settings are in an in-memory process database: no depth back, 30-minute base
// intervals, no additional pass, the active channel 100.0.1 and the reactive 100.0.2 of one line;
// the method, the period and the formulas are the test's.
class TaskSettingsTest : public LinkedTest {
protected:
    explicit TaskSettingsTest(std::string key) : key_(std::move(key)), section_(key_ + "Object\\") {
        auto connection = db::Connection::Open(":memory:");
        db::InitSchema(*connection);
        db::SetProcessConnection(std::move(connection));
        settings_.WriteInteger(section_, "DeepBase", 0);
        settings_.WriteBool(section_, "AdvParNumber", false);
        settings_.WriteInteger(section_, "IntervalType", 1);
        const std::string rest = ";0.1;10;0;0;0;10;10;1;700;0.5;2;1;2;100;0;0;0;0;0;;";
        settings_.WriteString(key_ + "Devices1\\", "100.0.1", "1;1;3;2" + rest);
        settings_.WriteString(key_ + "Devices1\\", "100.0.2", "1;3;1;1" + rest);
    }
    ~TaskSettingsTest() override { db::SetProcessConnection(nullptr); }

    void Configure(int method, DateTime begin, DateTime end) {
        settings_.WriteInteger(section_, "Method", method);
        settings_.WriteDateTime(section_, "BeginDateTime", begin);
        settings_.WriteDateTime(section_, "EndDateTime", end);
    }
    void SetFormula(const std::string& element, const std::string& formula) {
        settings_.WriteString(key_ + "Devices2\\", element, formula);
    }

    // Starts the task `id` and answers each query as it comes with `answer` (null: no set), for
    // at most `limit` queries. The answers live as long as the test.
    using Answer = std::function<std::unique_ptr<FakeResultSet>(const RecordedQuery&)>;
    void RunAnswering(TScheduleTaskList& list, int32_t id, const Answer& answer, size_t limit = 1000) {
        const size_t first = host_.Queries().size();
        list.Add(std::make_unique<TScheduleTask>(link_, key_, id));
        list.StartTask(id);
        for (size_t i = first; list.Count() > 0 && i < host_.Queries().size() && i < first + limit; ++i) {
            answers_.push_back(answer(host_.Queries()[i]));
            host_.Complete(i, answers_.back() != nullptr ? answers_.back()->Set() : nullptr);
        }
    }

    const std::string key_;
    const std::string section_;
    TSvcConfig settings_{"TKEY_SCHEDULE"};
    std::vector<std::unique_ptr<FakeResultSet>> answers_;
};

} // namespace tl::test
