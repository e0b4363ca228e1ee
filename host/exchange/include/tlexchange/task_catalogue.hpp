// The tasks of the settings store: which exist, what each one calculates over which period, and
// copying, renaming and deleting a task's settings.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/element_address.hpp"
#include "tlsettings/svc_config.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tl::exchange {

// A task that is missing, or a copy that would overwrite one.
class TaskError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TaskPeriodSettings {
    int32_t interval_type = 0; // 0 depth back from the run, 1 fixed interval
    int32_t depth_hours = 0;
    DateTime begin = 0;
    DateTime end = 0;
};

struct TaskSummary {
    std::string key; // "\Scripts\<scenario>\"
    std::string scenario;
    bool ready = false; // the run finds the settings it cannot do without
    int32_t method = 0;
    int32_t elements = 0; // the elements the run reads for the method
    TaskPeriodSettings period;
    bool additional = false; // the additional short-interval parameter is calculated
    int32_t additional_index = 0;
    TaskPeriodSettings additional_period;
};

// The task keys of every scenario that has settings, ordered by name.
std::vector<std::string> ListTaskKeys(TSvcConfig& config);
bool TaskExists(TSvcConfig& config, std::string_view task_key);
// Reads without writing anything; the values the run would take for missing keys.
TaskSummary SummarizeTask(TSvcConfig& config, std::string_view task_key);

// The elements of the task's method that a run reads, in listing order.
std::vector<ElementAddress> TaskElements(TSvcConfig& config, std::string_view task_key);

// "1. Расчет потерь в линии передачи и трансформаторах", "2. Расчет по произвольной формуле", or
// "unknown method N".
std::string MethodName(int32_t method);
// The additional parameter of an index 0..7 ("Мощность за предыдущие 5 минут (Код 7)", ...).
std::string AdditionalParameterName(int32_t index);
// "2024-12-24 00:00:00 .. 2025-01-07 00:00:00" or "48 h back from the run".
std::string DescribePeriod(const TaskPeriodSettings& period);

// Copies every setting of `from` under `to` (which must not exist unless `replace`): the task
// section and both element sections, in one transaction. Names of one task in another letter
// case are the same task. Throws TaskError.
void CopyTask(TSvcConfig& config, std::string_view from, std::string_view to, bool replace);
// The copy, then the deletion of `from`: a failure between the two leaves both, never neither.
void RenameTask(TSvcConfig& config, std::string_view from, std::string_view to, bool replace);
// Erases the task's three sections in one transaction. Throws TaskError when there is no such task.
void DeleteTask(TSvcConfig& config, std::string_view task_key);

} // namespace tl::exchange
