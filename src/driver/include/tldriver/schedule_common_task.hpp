// TScheduleCommonTask: the base of all tasks. A task is not a thread but an object whose work is
// cut into steps; each step runs inside StartAction, a query completion or StopAction and either
// issues exactly one query (RunQuery) and returns kResultWaiting, or ends the task with a code.
#pragma once

#include "tldata/variant.hpp"
#include "tldriver/host_link.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

class TScheduleCommonTask {
public:
    // `task_key` in UTF-8, exactly as the host gave it.
    TScheduleCommonTask(HostLink& link, std::string task_key, int32_t task_id);
    virtual ~TScheduleCommonTask();
    TScheduleCommonTask(const TScheduleCommonTask&) = delete;
    TScheduleCommonTask& operator=(const TScheduleCommonTask&) = delete;

    // A step for a finished query. `result` designates the host's result-set variable; a task
    // that takes the set over clears `release_it` (else the completion handler releases it).
    virtual int32_t HandleData(TlResultSet** result, bool& release_it);
    // The first step.
    virtual int32_t Start();
    // Ends the task at the host's request.
    virtual int32_t Stop();
    // Called right before the task is freed by the list.
    virtual void Shutdown();

    const std::string& ScenarioName() const { return scenario_name_; }
    const std::string& TaskKey() const { return task_key_; }
    const std::string& TaskSection() const { return task_section_; }
    // Position 0: "<key>Devices1\", position 1: "<key>Devices2\"; a method selects one with at().
    const std::vector<std::string>& ElementSections() const { return element_sections_; }
    int32_t TaskId() const { return task_id_; }

    // Issues the step's one query; the answer arrives later through the task list's completion
    // handler. The values are copied for the call.
    void RunQuery(std::string_view sql, std::span<const Variant> params);
    // Releases the set the variable holds and empties it; an empty variable is left alone.
    void DropDataSet(TlResultSet*& result);
    // A status line with this task's scenario name.
    void SendStatus(std::string_view line) const;

protected:
    HostLink& Link() const { return link_; }

private:
    HostLink& link_;
    std::string scenario_name_;
    std::string task_key_;
    std::string task_section_;
    std::vector<std::string> element_sections_;
    int32_t task_id_;
};

} // namespace tl
