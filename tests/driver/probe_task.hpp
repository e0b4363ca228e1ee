// A task for tests of the task list: each step does what the test sets, and every call is written
// to a journal shared by the test.
#pragma once

#include "tldriver/result_codes.hpp"
#include "tldriver/schedule_common_task.hpp"

#include <functional>
#include <string>
#include <vector>

namespace tl::test {

class ProbeTask : public TScheduleCommonTask {
public:
    ProbeTask(HostLink& link, int32_t task_id, std::vector<std::string>& journal)
        : TScheduleCommonTask(link, "\\Scripts\\Probe\\", task_id), journal_(journal) {}
    ~ProbeTask() override { Note("free"); }

    // Default: Start issues one query and waits; HandleData leaves the set to the handler and
    // ends with 0; Stop is the base behaviour.
    std::function<int32_t(ProbeTask&)> on_start = [](ProbeTask& task) {
        task.RunQuery("select 1", {});
        return kResultWaiting;
    };
    std::function<int32_t(ProbeTask&, TlResultSet**, bool&)> on_data = [](ProbeTask&, TlResultSet**, bool&) {
        return kResultSuccess;
    };
    std::function<int32_t(ProbeTask&)> on_stop;

    int32_t Start() override {
        Note("start");
        return on_start(*this);
    }
    int32_t HandleData(TlResultSet** result, bool& release_it) override {
        Note(result != nullptr && *result != nullptr ? "data" : "data(empty)");
        const int32_t base = TScheduleCommonTask::HandleData(result, release_it);
        return on_data ? on_data(*this, result, release_it) : base;
    }
    int32_t Stop() override {
        Note("stop");
        return on_stop ? on_stop(*this) : TScheduleCommonTask::Stop();
    }
    void Shutdown() override { Note("shutdown"); }

private:
    void Note(const std::string& what) { journal_.push_back(what); }
    std::vector<std::string>& journal_;
};

} // namespace tl::test
