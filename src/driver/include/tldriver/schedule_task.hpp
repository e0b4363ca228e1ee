// TScheduleTask: the loss-calculation task. It owns the run's log and the list of incompletely
// calculated elements; when it is freed it closes the log with that list, reports the list by a
// status line and writes tlosses.log.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldriver/floating_point_scope.hpp"
#include "tldriver/run_log.hpp"
#include "tldriver/schedule_common_task.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace tl {

class TScheduleTask : public TScheduleCommonTask {
public:
    TScheduleTask(HostLink& link, std::string task_key, int32_t task_id);
    ~TScheduleTask() override;

    int32_t HandleData(TlResultSet** result, bool& release_it) override;
    int32_t Start() override;
    int32_t Stop() override;
    void Shutdown() override;

    RunLog& Log() { return run_log_; }
    // Records an error of one element at the current stamp; the run goes on.
    void AddElementError(int32_t object, int32_t type, int32_t item, std::string_view message);

private:
    // Closing section, status line of incompletely calculated elements, tlosses.log.
    void CloseRunLog() noexcept;

    FloatingPointScope floating_point_;

    // Run state of a calculation, filled by the steps of the run:
    //   settings access object on "TKEY_SCHEDULE", element list with parameter records, compiled
    //   script program, additional-parameter flag, method, periods (base and additional begin and
    //   end), result records of the current pass, interval-data and momentary filters, element
    //   states, script text and common script. They join here with the steps that use them.
    TlResultSet* current_set_ = nullptr;   // the set of the last completed query, until released
    TlResultSet* momentary_set_ = nullptr; // momentary values of the current pass
    uint8_t step_ = 0;                     // pass 0..12, or the query waited for (13, 15, 16)
    uint8_t saved_pass_ = 0;               // the pass to resume after the momentary query
    DateTime window_begin_ = 0;            // first stamp of the pass; the current stamp while it runs
    DateTime window_end_ = 0;

    RunLog run_log_;
    IncompleteElements incomplete_;
};

} // namespace tl
