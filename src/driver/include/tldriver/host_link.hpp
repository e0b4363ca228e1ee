// Everything a task knows about its host: the host service interface, the status callback, the
// completion target, where run logs go, and the module's element-state log. The module owns one;
// tests make their own.
#pragma once

#include "tldata/host_database.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

class ElementStateLog;
class TScheduleTaskList;

struct CompletionTarget {
    uint32_t window = 0;
    uint32_t message = 0;
};

class HostLink {
public:
    HostServiceRef service;
    TlStatusProc status_callback = nullptr;
    CompletionTarget completion;
    // Directory of tlosses.log, ending in '/' (empty: the current directory).
    std::string log_directory;
    // The one directory the scripts' includes are read from (UTF-8; empty: includes are refused).
    std::string include_directory;
    ElementStateLog* state_log = nullptr;
    // The host's clock, when it gives one (a rerun of a past night); otherwise the system clock.
    std::optional<double> clock;
    // The host's interrupt flag, when it gives one: while it is set, every step that runs ends
    // its task as stopped.
    const volatile int32_t* interrupt_flag = nullptr;

    HostDatabase Database() const { return HostDatabase(service.Get()); }
    // The one way a status line reaches the host: converted to Windows-1251 and handed to the
    // status callback, or dropped when there is none.
    void SendStatus(std::string_view scenario, std::string_view line) const;
    // Posts the completion message (task identifier, result code) to the completion window.
    void PostCompletion(int32_t task_id, int32_t code) const;
    std::string RunLogPath() const { return log_directory + "tlosses.log"; }
    // "Now" and today at 00:00 for the periods of a run.
    double Now() const;
    double Today() const;

    // The task list that receives query completions (null while there is none).
    TScheduleTaskList* TaskList() const { return task_list_; }

private:
    friend class TScheduleTaskList;
    TScheduleTaskList* task_list_ = nullptr;
};

} // namespace tl
